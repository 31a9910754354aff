#include "ReportTestSupport.h"

#include "core/AppError.h"

#include <QDate>

namespace ReportTestSupport {

QByteArray document(const QByteArray &body)
{
    return "{\\rtf1\\ansi " + body + "}";
}

QByteArray render(const QByteArray &rtf, const QStringList &variables, const std::vector<ReportDataSet *> &dataSets,
                  TRtfReport *report)
{
    TRtfReport local;
    TRtfReport &r = report ? *report : local;
    for (const QString &line : variables) {
        const qsizetype eq = line.indexOf(u'=');
        const QString name = line.left(eq);
        if (!r.variables().contains(name))
            r.AddVariable(name);
        r.FindVariable(name).setText(line.mid(eq + 1));
    }
    return r.renderTemplate(rtf, dataSets);
}

QString errorOf(const QByteArray &rtf, const QStringList &variables, const std::vector<ReportDataSet *> &dataSets)
{
    try {
        render(rtf, variables, dataSets);
    } catch (const AppError &e) {
        return e.message();
    }
    return {};
}

std::unique_ptr<ReportMemoryDataSet> sampleRows(const QString &name)
{
    auto set = std::make_unique<ReportMemoryDataSet>(name);
    set->addField(QStringLiteral("name"), ReportDataSet::FieldKind::Text);
    set->addField(QStringLiteral("betrag"), ReportDataSet::FieldKind::Number);
    set->addField(QStringLiteral("datum"), ReportDataSet::FieldKind::Date);
    set->addField(QStringLiteral("aktiv"), ReportDataSet::FieldKind::Boolean);
    set->addRow({QStringLiteral("Miete  "), 1.0, QDate(2024, 1, 31), true});
    set->addRow({QStringLiteral("Strom"), 2.0, QDate(2024, 2, 29), false});
    set->addRow({QStringLiteral("Wasser"), 3.0, QVariant(), QVariant()});
    return set;
}

std::unique_ptr<ReportMemoryDataSet> emptyRows(const QString &name)
{
    auto set = std::make_unique<ReportMemoryDataSet>(name);
    set->addField(QStringLiteral("name"), ReportDataSet::FieldKind::Text);
    set->addField(QStringLiteral("betrag"), ReportDataSet::FieldKind::Number);
    return set;
}

} // namespace ReportTestSupport
