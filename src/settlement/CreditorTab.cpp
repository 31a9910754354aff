#include "settlement/CreditorTab.h"

#include "contacts/ChooseContact.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "settlement/TFormPKonto.h"
#include "settlement/TFormSbPlan.h"
#include "settlement/rules/ClaimRules.h"
#include "settlement/rules/SettlementData.h"
#include "ui/DbCheckBox.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/DbMemo.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QStringList ClaimKinds = {QStringLiteral("Bankkredit"), QStringLiteral("Dispositionskredit"),
                                QStringLiteral("Energieversorger"), QStringLiteral("Miete"),
                                QStringLiteral("Finanzamt"), QStringLiteral("Inkassobüro"),
                                QStringLiteral("Versandhandel"), QStringLiteral("Telekommunikation"),
                                QStringLiteral("Versicherung"), QStringLiteral("Sonstige")};

template <typename W>
W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

} // namespace

CreditorTab::CreditorTab(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("glTab"));
    SettlementData &data = SettlementData::of(dm);
    DataSet *claims = data.qrForderungen;
    DataSet *contacts = dm.dmAdressen->qrKontakte;

    m_client = named(new QCheckBox(QStringLiteral("Klient der Beratung"), this), "glcbKlient");
    connect(m_client, &QCheckBox::clicked, this, [this](bool on) { setClient(on); });
    auto *head = new QHBoxLayout;
    auto *name = DbLabel::formField(contacts, QStringLiteral("Suna"), QStringLiteral("gllbSuchname"), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    head->addWidget(name, 1);
    head->addWidget(new QLabel(QStringLiteral("Anrede in Schreiben :"), this));
    m_salutation = named(new QComboBox(this), "glcbAnrede");
    m_salutation->addItems({QString(), QStringLiteral("Frau"), QStringLiteral("Herr")});
    m_salutation->setToolTip(QStringLiteral("Bei „Frau“ sprechen Pläne, Anschreiben und Bescheinigungen von der Schuldnerin."));
    connect(m_salutation, &QComboBox::activated, this, [this](int index) { setSalutation(m_salutation->itemText(index)); });
    head->addWidget(m_salutation);
    head->addSpacing(12);
    head->addWidget(m_client);

    m_claims = new QWidget(this);
    auto *bar = new RecordToolBar(claims, m_claims);
    bar->setObjectName(QStringLiteral("glToolBar"));
    bar->addNewButton(QStringLiteral("gltbutNeu"), QStringLiteral("&Neu"));
    bar->addSaveButton(QStringLiteral("gltbutSpeichern"), QStringLiteral("&Speichern"));
    bar->addCancelButton(QStringLiteral("gltbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("gltbutLoeschen"), QStringLiteral("&Löschen"), QStringLiteral("Forderung löschen?"));
    bar->addButton(QStringLiteral("gltbutPlan"), QStringLiteral("Einig&ungsplan"),
                   Icons::standard(QStyle::SP_FileDialogDetailedView), [this] { openPlans(); });
    bar->addButton(QStringLiteral("gltbutPKonto"), QStringLiteral("&P-Konto"),
                   Icons::standard(QStyle::SP_DriveHDIcon), [this] { openPKonto(); });

    auto *grid = named(new DbGrid(claims,
                                  {{QStringLiteral("Glaeubiger"), QStringLiteral("Gläubiger"), 170},
                                   {QStringLiteral("Aktenzeichen"), QStringLiteral("Aktenzeichen"), 110},
                                   {QStringLiteral("Art"), QStringLiteral("Art"), 110},
                                   {QStringLiteral("Hauptforderung"), QStringLiteral("Hauptforderung"), 100},
                                   {QStringLiteral("Zinsen"), QStringLiteral("Zinsen"), 80},
                                   {QStringLiteral("Kosten"), QStringLiteral("Kosten"), 80},
                                   {QStringLiteral("Gesamt"), QStringLiteral("Gesamt"), 100},
                                   {QStringLiteral("Standdat"), QStringLiteral("Stand"), 80},
                                   {QStringLiteral("Tituliert"), QStringLiteral("Titel"), 45}},
                                  m_claims),
                       "glgrdForderungen");

    auto *details = named(new QGroupBox(QStringLiteral("Forderung"), m_claims), "glgbForderung");
    auto *form = new QFormLayout(details);
    auto *creditorRow = new QHBoxLayout;
    creditorRow->addWidget(DbLabel::formField(claims, QStringLiteral("Glaeubiger"), QStringLiteral("gllbGlaeubiger"), details), 1);
    auto *choose = named(new QPushButton(QStringLiteral("&Gläubiger wählen ..."), details), "glbutGlaeubiger");
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, [this] { guarded([this] { chooseCreditor(); }); });
    creditorRow->addWidget(choose);
    form->addRow(QStringLiteral("Gläubiger :"), creditorRow);
    auto *reference = named(new DbEdit(claims, QStringLiteral("Aktenzeichen"), details), "dbeGlAktenzeichen");
    form->addRow(QStringLiteral("Aktenzeichen :"), reference);
    form->addRow(QStringLiteral("Art :"), named(new DbComboBox(claims, QStringLiteral("Art"), DbComboBox::Mode::FreeText,
                                                               ClaimKinds, details),
                                                "dbcGlArt"));
    auto *amounts = new QHBoxLayout;
    amounts->addWidget(named(new DbEdit(claims, QStringLiteral("Hauptforderung"), details), "dbeGlHaupt"));
    amounts->addWidget(new QLabel(QStringLiteral("Zinsen :"), details));
    amounts->addWidget(named(new DbEdit(claims, QStringLiteral("Zinsen"), details), "dbeGlZinsen"));
    amounts->addWidget(new QLabel(QStringLiteral("Kosten :"), details));
    amounts->addWidget(named(new DbEdit(claims, QStringLiteral("Kosten"), details), "dbeGlKosten"));
    amounts->addWidget(new QLabel(QStringLiteral("Gesamt :"), details));
    amounts->addWidget(DbLabel::formField(claims, QStringLiteral("Gesamt"), QStringLiteral("gllbGesamt"), details), 1);
    form->addRow(QStringLiteral("Hauptforderung :"), amounts);
    auto *stand = new QHBoxLayout;
    stand->addWidget(named(new DbEdit(claims, QStringLiteral("Standdat"), details), "dbeGlStand"));
    stand->addWidget(named(new DbCheckBox(claims, QStringLiteral("Tituliert"), QStringLiteral("tituliert (Vollstreckungstitel)"),
                                          details),
                           "dbcbGlTitel"));
    stand->addStretch(1);
    form->addRow(QStringLiteral("Stand vom :"), stand);
    auto *note = named(new DbMemo(claims, QStringLiteral("Notiz"), details), "dbmGlNotiz");
    note->setMaximumHeight(60);
    form->addRow(QStringLiteral("Notiz :"), note);
    bar->setFirstInput(reference);

    m_sum = named(new QLabel(this), "gllbSumme");
    auto *claimsLayout = new QVBoxLayout(m_claims);
    claimsLayout->setContentsMargins(0, 0, 0, 0);
    claimsLayout->addWidget(bar);
    claimsLayout->addWidget(grid, 1);
    claimsLayout->addWidget(m_sum);
    claimsLayout->addWidget(details);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addLayout(head);
    layout->addWidget(m_claims, 1);

    connect(contacts, &DataSet::currentRowChanged, this, &CreditorTab::showContact);
    connect(contacts, &DataSet::opened, this, &CreditorTab::showContact);
    connect(contacts, &DataSet::fieldChanged, this, &CreditorTab::showContact);
    connect(claims, &DataSet::rowsReset, this, &CreditorTab::updateSum);
    connect(claims, &DataSet::stateChanged, this, &CreditorTab::updateSum);
    connect(claims, &DataSet::rowRemoved, this, &CreditorTab::updateSum);
    guarded([&data] { data.openAll(); });
    showContact();
}

void CreditorTab::showContact()
{
    const DataSet *contacts = m_dm.dmAdressen->qrKontakte;
    const bool any = contacts->isOpen() && !contacts->isEmpty();
    const bool client = any && contacts->asBoolean(QStringLiteral("Akunde"));
    m_client->setEnabled(any);
    m_client->setChecked(client);
    m_salutation->setEnabled(client);
    const int salutation = any ? m_salutation->findText(contacts->asString(QStringLiteral("Anrede"))) : 0;
    m_salutation->setCurrentIndex(std::max(0, salutation));
    m_claims->setEnabled(client);
    updateSum();
}

void CreditorTab::setClient(bool client)
{
    DataSet *contacts = m_dm.dmAdressen->qrKontakte;
    guarded([&] {
        contacts->edit();
        contacts->setValue(QStringLiteral("Akunde"), client);
        contacts->post();
    });
    showContact();
}

void CreditorTab::setSalutation(const QString &salutation)
{
    DataSet *contacts = m_dm.dmAdressen->qrKontakte;
    guarded([&] {
        contacts->edit();
        contacts->setValue(QStringLiteral("Anrede"), salutation);
        contacts->post();
    });
    showContact();
}

void CreditorTab::chooseCreditor()
{
    DataSet *claims = SettlementData::of(m_dm).qrForderungen;
    const int chosen = ChooseContact(m_dm, this);
    if (!ContactTakenOver() || chosen <= 0)
        return;
    claims->edit();
    claims->setValue(QStringLiteral("Glaeub_id"), chosen);
}

void CreditorTab::openPlans()
{
    SettlementData::of(m_dm).qrForderungen->post();
    TFormSbPlan window(m_dm, this);
    window.exec();
    updateSum();
}

void CreditorTab::openPKonto()
{
    TFormPKonto window(m_dm, this);
    window.exec();
}

void CreditorTab::updateSum()
{
    const DataSet *contacts = m_dm.dmAdressen->qrKontakte;
    if (!contacts->isOpen() || contacts->isEmpty() || !contacts->asBoolean(QStringLiteral("Akunde"))) {
        m_sum->clear();
        return;
    }
    const DataSet *claims = SettlementData::of(m_dm).qrForderungen;
    const int count = claims->isOpen() ? claims->recordCount() : 0;
    m_sum->setText(QStringLiteral("%1 Forderung(en), zusammen %2")
                       .arg(count)
                       .arg(GermanFormat::currency(ClaimRules::clientTotal(m_dm.db, contacts->asInteger(QStringLiteral("Adr_id"))))));
}
