#include "settlement/TFormPKonto.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "settlement/SettlementPrintouts.h"
#include "settlement/rules/PKontoAllowance.h"
#include "settlement/rules/SettlementData.h"
#include "ui/DbEdit.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

DbEdit *edit(DataSet *ds, const char *field, const char *name, QWidget *parent)
{
    auto *e = new DbEdit(ds, QLatin1String(field), parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

} // namespace

TFormPKonto::TFormPKonto(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FormPKonto"));
    SettlementData &data = SettlementData::of(dm);
    DataSet *pk = data.qrPKonto;
    const DataSet *client = dm.dmAdressen->qrKontakte;
    setWindowTitle(QStringLiteral("P-Konto-Bescheinigung - %1").arg(client->isOpen() ? client->asString(QStringLiteral("Suna")) : QString()));
    guarded([&data] { data.openAll(); });

    auto *bar = new RecordToolBar(pk, this);
    bar->setObjectName(QStringLiteral("pkToolBar"));
    bar->addCloseButton(QStringLiteral("pktbutSchliessen"), QStringLiteral("&Schließen"));
    bar->addNewButton(QStringLiteral("pktbutNeu"), QStringLiteral("&Neu"));
    bar->addSaveButton(QStringLiteral("pktbutSpeichern"), QStringLiteral("S&peichern"));
    bar->addCancelButton(QStringLiteral("pktbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("pktbutLoeschen"), QStringLiteral("&Löschen"), QStringLiteral("Datensatz löschen?"));
    bar->addButton(QStringLiteral("pktbutDrucken"), QStringLiteral("&Bescheinigung drucken"), Icons::standard(QStyle::SP_FileIcon),
                   [this, pk] {
                       pk->post();
                       if (!pk->isOpen() || pk->isEmpty())
                           throw UserWarning(QStringLiteral("Bitte erfassen Sie zuerst die Angaben zum P-Konto."));
                       SettlementPrintouts::printPKonto(m_dm, pk->asInteger(QStringLiteral("PK_id")));
                   });
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    auto *account = new QGroupBox(QStringLiteral("Konto"), this);
    auto *af = new QFormLayout(account);
    auto *holder = edit(pk, "Kontoinhaber", "dbePkInhaber", account);
    af->addRow(QStringLiteral("Kontoinhaber/in :"), holder);
    af->addRow(QStringLiteral("Kreditinstitut :"), edit(pk, "Kreditinstitut", "dbePkBank", account));
    af->addRow(QStringLiteral("IBAN :"), edit(pk, "Iban", "dbePkIban", account));
    bar->setFirstInput(holder);

    auto *payments = new QGroupBox(QStringLiteral("Personen und geschützte Leistungen"), this);
    auto *pf = new QFormLayout(payments);
    pf->addRow(QStringLiteral("Unterhaltene Personen :"), edit(pk, "Personen", "dbePkPersonen", payments));
    pf->addRow(QStringLiteral("Kindergeld mtl. :"), edit(pk, "Kindergeld", "dbePkKindergeld", payments));
    auto *other = new QHBoxLayout;
    other->addWidget(edit(pk, "Leistungen", "dbePkLeistungen", payments));
    other->addWidget(new QLabel(QStringLiteral("Art :"), payments));
    other->addWidget(edit(pk, "LeistText", "dbePkLeistText", payments), 1);
    pf->addRow(QStringLiteral("Weitere Leistungen mtl. :"), other);
    auto *once = new QHBoxLayout;
    once->addWidget(edit(pk, "Einmalig", "dbePkEinmalig", payments));
    once->addWidget(new QLabel(QStringLiteral("Art :"), payments));
    once->addWidget(edit(pk, "EinmaligText", "dbePkEinmaligText", payments), 1);
    pf->addRow(QStringLiteral("Einmalige Leistungen :"), once);

    auto *validity = new QGroupBox(QStringLiteral("Bescheinigung"), this);
    auto *vf = new QHBoxLayout(validity);
    vf->addWidget(new QLabel(QStringLiteral("gültig ab :"), validity));
    vf->addWidget(edit(pk, "Gueltigab", "dbePkGueltigab", validity));
    vf->addWidget(new QLabel(QStringLiteral("bis :"), validity));
    vf->addWidget(edit(pk, "Gueltigbis", "dbePkGueltigbis", validity));
    vf->addWidget(new QLabel(QStringLiteral("ausgestellt am :"), validity));
    vf->addWidget(edit(pk, "Ausstelldat", "dbePkAusstelldat", validity));

    m_amounts = new QLabel(this);
    m_amounts->setObjectName(QStringLiteral("pklbFreibetrag"));
    m_amounts->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 6, 10, 10);
    body->setSpacing(8);
    body->addWidget(account);
    body->addWidget(payments);
    body->addWidget(validity);
    body->addWidget(m_amounts);
    body->addStretch(1);
    layout->addLayout(body, 1);

    connect(pk, &DataSet::currentRowChanged, this, &TFormPKonto::updateAmounts);
    connect(pk, &DataSet::fieldChanged, this, &TFormPKonto::updateAmounts);
    connect(pk, &DataSet::opened, this, &TFormPKonto::updateAmounts);
    connect(pk, &DataSet::rowsReset, this, &TFormPKonto::updateAmounts);
    updateAmounts();
    setPostOnClose(pk);
    resize(720, 560);
}

void TFormPKonto::updateAmounts()
{
    const DataSet *pk = SettlementData::of(m_dm).qrPKonto;
    if (!pk->isOpen() || pk->isEmpty()) {
        m_amounts->setText(QStringLiteral("Noch keine Angaben erfasst."));
        return;
    }
    // The label shows a refusal instead of amounts; the window only refuses when storing.
    try {
        QDate from = pk->asDate(QStringLiteral("Gueltigab"));
        if (!from.isValid())
            from = DateUtil::today();
        const auto base = PKontoAllowance::baseInForce(m_dm.db, from);
        const auto a = PKontoAllowance::allowance(base, pk->asInteger(QStringLiteral("Personen")),
                                                  pk->asMoney(QStringLiteral("Kindergeld")),
                                                  pk->asMoney(QStringLiteral("Leistungen")), pk->asMoney(QStringLiteral("Einmalig")));
        QStringList parts{QStringLiteral("Grundfreibetrag %1").arg(GermanFormat::currency(a.basic))};
        if (a.persons >= 1)
            parts << QStringLiteral("erste Person %1").arg(GermanFormat::currency(a.increaseFirst));
        if (a.furtherPersons >= 1)
            parts << QStringLiteral("%1 weitere %2").arg(a.furtherPersons).arg(GermanFormat::currency(a.increaseFurther));
        if (!a.childBenefit.isZero())
            parts << QStringLiteral("Kindergeld %1").arg(GermanFormat::currency(a.childBenefit));
        if (!a.otherPayments.isZero())
            parts << QStringLiteral("Leistungen %1").arg(GermanFormat::currency(a.otherPayments));
        m_amounts->setText(parts.join(QStringLiteral(" + ")) + QStringLiteral("\n= monatlicher Freibetrag %1").arg(GermanFormat::currency(a.monthly)));
    } catch (const AppError &e) {
        m_amounts->setText(e.message());
    }
}
