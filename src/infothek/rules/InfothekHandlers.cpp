#include "infothek/rules/InfothekHandlers.h"

#include "core/AppError.h"
#include "data/TdmExtras.h"
#include "infothek/rules/InfothekRules.h"

InfothekHandlers::InfothekHandlers(TdmExtras &extras) : QObject(&extras), m_extras(extras)
{
    setObjectName(QStringLiteral("infothekHandlers"));
    DataSet *documents = extras.qrInfos;
    documents->addCalculatedField(QStringLiteral("Rubrik"), FieldType::Text);
    documents->addCalculatedField(QStringLiteral("Pfad"), FieldType::Text);
    documents->afterInsert = [this](DataSet &ds) { qrInfosAfterInsert(ds); };
    documents->beforePost = [this](DataSet &ds) { qrInfosBeforePost(ds); };
    documents->onCalcFields = [this](DataSet &ds) { qrInfosCalcFields(ds); };
}

void InfothekHandlers::qrInfosAfterInsert(DataSet &ds)
{
    const DataSet *rubrics = m_extras.qrInfoRubrik;
    if (!rubrics->isOpen() || rubrics->isEmpty())
        throw UserWarning(InfothekRules::NoRubricOnInsert);
    ds.setValue(QStringLiteral("Rubrik_id"), rubrics->value(QStringLiteral("Rubrik_id")));
}

void InfothekHandlers::qrInfosBeforePost(DataSet &ds)
{
    const QString datei = ds.asString(QStringLiteral("Datei"));
    if (!InfothekRules::isPlainFileName(datei))
        throw UserWarning(InfothekRules::notPlainMessage(datei));
}

void InfothekHandlers::qrInfosCalcFields(DataSet &ds)
{
    // The lookup of the rubric list: a document of a deleted rubric shows neither.
    const DataSet *rubrics = m_extras.qrInfoRubrik;
    QVariant name, dir;
    if (rubrics->isOpen()) {
        const QVariant id = ds.value(QStringLiteral("Rubrik_id"));
        const int key = rubrics->fieldIndex(QStringLiteral("Rubrik_id"));
        const int rows = rubrics->recordCount();
        for (int r = 0; !id.isNull() && r < rows; ++r) {
            if (rubrics->valueAt(r, key).toLongLong() == id.toLongLong()) {
                name = rubrics->valueAt(r, rubrics->fieldIndex(QStringLiteral("Rubrik")));
                dir = rubrics->valueAt(r, rubrics->fieldIndex(QStringLiteral("Pfad")));
                break;
            }
        }
    }
    ds.setValue(QStringLiteral("Rubrik"), name);
    ds.setValue(QStringLiteral("Pfad"), dir);
}
