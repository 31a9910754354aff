#include "settlement/TFormSbPlan.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "settlement/SettlementPrintouts.h"
#include "settlement/rules/PlanRules.h"
#include "settlement/rules/SettlementData.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// How the plan records where its rate came from.
const QString GarnishableSource = QStringLiteral("Pfand");
const QString SurplusSource = QStringLiteral("Überschuss");

template <typename W>
W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, std::function<void()> action)
{
    auto *b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, parent, [action] { guarded(action); });
    return b;
}

} // namespace

TFormSbPlan::TFormSbPlan(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FormSbPlan"));
    SettlementData &data = SettlementData::of(dm);
    DataSet *plans = data.qrSbPlan;
    DataSet *lines = data.qrSbPosten;
    const DataSet *client = dm.dmAdressen->qrKontakte;
    setWindowTitle(QStringLiteral("Schuldenbereinigungsplan - %1").arg(client->isOpen() ? client->asString(QStringLiteral("Suna")) : QString()));
    guarded([&data] { data.openAll(); });

    auto *bar = new RecordToolBar(plans, this);
    bar->setObjectName(QStringLiteral("sbToolBar"));
    bar->addCloseButton(QStringLiteral("sbtbutSchliessen"), QStringLiteral("&Schließen"));
    bar->addNewButton(QStringLiteral("sbtbutNeu"), QStringLiteral("&Neu"));
    bar->addSaveButton(QStringLiteral("sbtbutSpeichern"), QStringLiteral("S&peichern"));
    bar->addCancelButton(QStringLiteral("sbtbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("sbtbutLoeschen"), QStringLiteral("&Löschen"), QStringLiteral("Plan löschen?"));
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    auto *planGrid = named(new DbGrid(plans,
                                      {{QStringLiteral("Plandat"), QStringLiteral("Datum"), 80},
                                       {QStringLiteral("Planart"), QStringLiteral("Art"), 130},
                                       {QStringLiteral("Laufzeit"), QStringLiteral("Monate"), 60},
                                       {QStringLiteral("Rate"), QStringLiteral("Rate"), 90},
                                       {QStringLiteral("Scheiterdat"), QStringLiteral("gescheitert am"), 95}},
                                      this),
                           "sbgrdPlaene");
    planGrid->setMaximumHeight(130);

    auto *planBox = named(new QGroupBox(QStringLiteral("Plan"), this), "sbgbPlan");
    auto *form = new QFormLayout(planBox);
    auto *kind = named(new DbComboBox(plans, QStringLiteral("Planart"), DbComboBox::Mode::ListOnly, PlanRules::kinds(), planBox),
                       "dbcSbPlanart");
    auto *row1 = new QHBoxLayout;
    row1->addWidget(kind);
    row1->addWidget(new QLabel(QStringLiteral("Datum :"), planBox));
    row1->addWidget(named(new DbEdit(plans, QStringLiteral("Plandat"), planBox), "dbeSbPlandat"));
    row1->addWidget(new QLabel(QStringLiteral("Laufzeit (Monate) :"), planBox));
    row1->addWidget(named(new DbEdit(plans, QStringLiteral("Laufzeit"), planBox), "dbeSbLaufzeit"));
    row1->addWidget(new QLabel(QStringLiteral("gescheitert am :"), planBox));
    auto *failedOn = named(new DbEdit(plans, QStringLiteral("Scheiterdat"), planBox), "dbeSbScheiterdat");
    failedOn->setToolTip(QStringLiteral("Leer lassen: Beim Bescheinigen gilt die letzte Ablehnung oder das Ende der "
                                        "letzten Antwortfrist."));
    row1->addWidget(failedOn);
    form->addRow(QStringLiteral("Art :"), row1);
    auto *row2 = new QHBoxLayout;
    row2->addWidget(named(new DbEdit(plans, QStringLiteral("Rate"), planBox), "dbeSbRate"));
    row2->addWidget(new QLabel(QStringLiteral("aus Haushaltsplan :"), planBox));
    m_budget = named(new QComboBox(planBox), "sbcbBudget");
    m_budget->setMinimumWidth(180);
    row2->addWidget(m_budget, 1);
    m_source = named(new QComboBox(planBox), "sbcbQuelle");
    m_source->addItems({QStringLiteral("pfändbarer Betrag"), QStringLiteral("Überschuss")});
    row2->addWidget(m_source);
    row2->addWidget(button(this, "sbbutRate", QStringLiteral("&Rate übernehmen"), [this] { takeRate(); }));
    form->addRow(QStringLiteral("Rate / Betrag :"), row2);
    bar->setFirstInput(kind);

    auto *linesBox = named(new QGroupBox(QStringLiteral("Aufteilung auf die Gläubiger"), this), "sbgbPosten");
    auto *linesLayout = new QVBoxLayout(linesBox);
    auto *lineGrid = named(new DbGrid(lines,
                                      {{QStringLiteral("Glaeubiger"), QStringLiteral("Gläubiger"), 160},
                                       {QStringLiteral("Aktenzeichen"), QStringLiteral("Aktenzeichen"), 100},
                                       {QStringLiteral("Forderung"), QStringLiteral("Forderung"), 95},
                                       {QStringLiteral("Anteil"), QStringLiteral("Anteil %"), 65},
                                       {QStringLiteral("Monatsrate"), QStringLiteral("Rate mtl."), 85},
                                       {QStringLiteral("Gesamt"), QStringLiteral("Gesamt"), 95},
                                       {QStringLiteral("Quote"), QStringLiteral("Quote %"), 65},
                                       {QStringLiteral("Antwort"), QStringLiteral("Antwort"), 95},
                                       {QStringLiteral("Antwortdat"), QStringLiteral("vom"), 80}},
                                      linesBox),
                           "sbgrdPosten");
    lineGrid->setReadOnly(true);
    m_totals = named(new QLabel(linesBox), "sblbSumme");
    m_note = named(new QLabel(linesBox), "sblbHinweis");
    m_note->setWordWrap(true);
    auto *answerRow = new QHBoxLayout;
    answerRow->addWidget(button(this, "sbbutAufteilen", QStringLiteral("Auf&teilen"), [this] { split(); }));
    answerRow->addSpacing(20);
    answerRow->addWidget(new QLabel(QStringLiteral("Antwort :"), linesBox));
    answerRow->addWidget(named(new DbComboBox(lines, QStringLiteral("Antwort"), DbComboBox::Mode::ListOnly, PlanRules::answers(),
                                              linesBox),
                               "dbcSbAntwort"));
    answerRow->addWidget(new QLabel(QStringLiteral("vom :"), linesBox));
    answerRow->addWidget(named(new DbEdit(lines, QStringLiteral("Antwortdat"), linesBox), "dbeSbAntwortdat"));
    answerRow->addWidget(button(this, "sbbutAntwort", QStringLiteral("Ant&wort speichern"), [lines] { lines->post(); }));
    answerRow->addStretch(1);
    linesLayout->addLayout(answerRow);
    linesLayout->addWidget(lineGrid, 1);
    linesLayout->addWidget(m_totals);
    linesLayout->addWidget(m_note);

    auto *printRow = new QHBoxLayout;
    printRow->addWidget(button(this, "sbbutPlanDruck", QStringLiteral("Plan &drucken"),
                               [this] { SettlementPrintouts::printPlan(m_dm, currentPlan()); }));
    printRow->addWidget(button(this, "sbbutAnschreiben", QStringLiteral("&Gläubiger anschreiben"), [this] {
        const int n = SettlementPrintouts::printLetters(m_dm, currentPlan());
        SettlementData::of(m_dm).qrSbPosten->reopen();
        ShowMsg(QStringLiteral("%1 Anschreiben wurden erstellt und bei den Briefen der Gläubiger gespeichert.").arg(n), mkInfo);
    }));
    printRow->addWidget(button(this, "sbbutScheitern", QStringLiteral("Scheitern &bescheinigen"), [this, plans] {
        SettlementPrintouts::printFailure(m_dm, currentPlan());
        plans->reopen();
    }));
    printRow->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 6, 10, 10);
    body->setSpacing(8);
    body->addWidget(planGrid);
    body->addWidget(planBox);
    body->addWidget(linesBox, 1);
    body->addLayout(printRow);
    layout->addLayout(body, 1);

    connect(lines, &DataSet::rowsReset, this, &TFormSbPlan::updateTotals);
    connect(lines, &DataSet::opened, this, &TFormSbPlan::updateTotals);
    connect(lines, &DataSet::rowChanged, this, &TFormSbPlan::updateTotals);
    connect(plans, &DataSet::currentRowChanged, this, &TFormSbPlan::showRateSource);
    connect(plans, &DataSet::opened, this, &TFormSbPlan::showRateSource);
    connect(plans, &DataSet::rowsReset, this, &TFormSbPlan::showRateSource);
    fillBudgets();
    showRateSource();
    updateTotals();
    setPostOnClose(plans);
    resize(960, 680);
}

int TFormSbPlan::currentPlan()
{
    DataSet *plans = SettlementData::of(m_dm).qrSbPlan;
    SettlementData::of(m_dm).qrSbPosten->post();
    plans->post();
    if (!plans->isOpen() || plans->isEmpty())
        throw UserWarning(QStringLiteral("Bitte legen Sie zuerst einen Plan an."));
    return plans->asInteger(QStringLiteral("Plan_id"));
}

void TFormSbPlan::fillBudgets()
{
    m_budget->clear();
    const DataSet *client = m_dm.dmAdressen->qrKontakte;
    const DataSet *user = m_dm.dmMP->qrAktUser;
    if (!client->isOpen() || client->isEmpty())
        return;
    const int userId = user->isOpen() && !user->isEmpty() ? user->asInteger(QStringLiteral("Ben_id")) : 0;
    guarded([&] {
        for (const auto &[id, title] : PlanRules::budgetPlans(m_dm.db, client->asInteger(QStringLiteral("Adr_id")), userId))
            m_budget->addItem(title.isEmpty() ? QStringLiteral("(ohne Titel)") : title, id);
    });
}

void TFormSbPlan::showRateSource()
{
    const DataSet *plans = SettlementData::of(m_dm).qrSbPlan;
    if (!plans->isOpen() || plans->isEmpty())
        return;
    // The choice follows the plan as it was saved, so "Rate übernehmen" takes the same amount.
    const QString source = plans->asString(QStringLiteral("Ratenquelle"));
    if (source == SurplusSource)
        m_source->setCurrentIndex(1);
    else if (source == GarnishableSource)
        m_source->setCurrentIndex(0);
    const int budget = m_budget->findData(plans->value(QStringLiteral("Bud_id")));
    if (budget >= 0)
        m_budget->setCurrentIndex(budget);
}

void TFormSbPlan::takeRate()
{
    if (m_budget->currentIndex() < 0)
        throw UserWarning(QStringLiteral("Für diesen Klienten gibt es keinen Haushaltsplan, aus dem die Rate kommen kann."));
    const int budId = m_budget->currentData().toInt();
    const auto source = m_source->currentIndex() == 0 ? PlanRules::RateSource::Garnishable : PlanRules::RateSource::Surplus;
    const Money rate = PlanRules::budgetRate(m_dm.db, budId, source);
    if (rate <= Money())
        throw UserWarning(QStringLiteral("Der Haushaltsplan „%1“ ergibt als %2 %3; daraus lässt sich keine Rate bilden.\r"
                                         "Wählen Sie einen flexiblen Nullplan oder tragen Sie die Rate selbst ein.")
                              .arg(m_budget->currentText(), m_source->currentText(), GermanFormat::currency(rate)));
    DataSet *plans = SettlementData::of(m_dm).qrSbPlan;
    plans->edit();
    plans->setMoney(QStringLiteral("Rate"), rate);
    plans->setValue(QStringLiteral("Bud_id"), budId);
    plans->setValue(QStringLiteral("Ratenquelle"), source == PlanRules::RateSource::Garnishable ? GarnishableSource : SurplusSource);
    PlanRules::assignBudget(m_dm.db, budId, m_dm.dmAdressen->qrKontakte->asInteger(QStringLiteral("Adr_id")));
}

void TFormSbPlan::split()
{
    SettlementData &data = SettlementData::of(m_dm);
    const int planId = currentPlan();
    const SettlementSplit::Result r = PlanRules::computeLines(m_dm.db, planId);
    data.qrSbPosten->reopen();
    updateTotals();
    if (r.rateLowered)
        ShowMsg(loweredText(r.requestedRate, r.claims), mkInfo);
    else if (r.capped)
        ShowMsg(QStringLiteral("Die Zahlungen über die Laufzeit übersteigen die Forderungen (%1).\r"
                               "Jeder Gläubiger erhält höchstens seine Forderung.")
                    .arg(GermanFormat::currency(r.claims)),
                mkInfo);
}

QString TFormSbPlan::loweredText(Money requested, Money claims) const
{
    const bool oneOff = SettlementData::of(m_dm).qrSbPlan->asString(QStringLiteral("Planart")) == PlanRules::OneOff;
    return (oneOff ? QStringLiteral("Der Betrag von %1 übersteigt die Forderungen von zusammen %2; er wurde auf %2 gesenkt.")
                   : QStringLiteral("Die Rate von %1 übersteigt die Forderungen von zusammen %2; sie wurde auf %2 gesenkt."))
        .arg(GermanFormat::currency(requested), GermanFormat::currency(claims));
}

void TFormSbPlan::updateTotals()
{
    const DataSet *lines = SettlementData::of(m_dm).qrSbPosten;
    m_note->clear();
    if (!lines->isOpen() || lines->isEmpty()) {
        m_totals->setText(QStringLiteral("Noch nicht aufgeteilt."));
        return;
    }
    Money claims, monthly, total;
    const int n = lines->recordCount();
    const int fClaim = lines->fieldIndex(QStringLiteral("Forderung"));
    const int fMonthly = lines->fieldIndex(QStringLiteral("Monatsrate"));
    const int fTotal = lines->fieldIndex(QStringLiteral("Gesamt"));
    for (int i = 0; i < n; ++i) {
        claims += Money::fromDouble(lines->valueAt(i, fClaim).toDouble());
        monthly += Money::fromDouble(lines->valueAt(i, fMonthly).toDouble());
        total += Money::fromDouble(lines->valueAt(i, fTotal).toDouble());
    }
    const double quota = claims.isZero() ? 0 : total.toDouble() * 100.0 / claims.toDouble();
    const DataSet *plans = SettlementData::of(m_dm).qrSbPlan;
    const Money asked = SettlementSplit::toCents(plans->asMoney(QStringLiteral("Rate")));
    if (plans->asString(QStringLiteral("Planart")) != PlanRules::ZeroPlan && asked > claims && !claims.isZero())
        m_note->setText(loweredText(asked, claims));
    m_totals->setText(QStringLiteral("%1 Gläubiger · Forderungen %2 · Rate mtl. %3 · Gesamt %4 · Quote %5 %")
                          .arg(n)
                          .arg(GermanFormat::currency(claims), GermanFormat::currency(monthly), GermanFormat::currency(total),
                               GermanFormat::number(quota, 2)));
}
