#include "admin/TFormFirma.h"

#include "admin/DbRadioGroup.h"
#include "data/DataModules.h"
#include "ui/DbCheckBox.h"
#include "ui/DbEdit.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"
#include "ui/RecordToolBar.h"

#include <QAbstractButton>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

DbEdit *edit(DataSet *ds, const QString &field, QWidget *parent, const QString &mask = {})
{
    auto *e = new DbEdit(ds, field, parent, mask);
    e->setObjectName(QStringLiteral("e") + field);
    return e;
}

QFormLayout *formLayout(QWidget *parent)
{
    auto *form = new QFormLayout(parent);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(6);
    return form;
}

// A short input and a long one on one line, as postcode and town.
QWidget *pair(QWidget *shortInput, QWidget *longInput, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    shortInput->setFixedWidth(70);
    row->addWidget(shortInput);
    row->addWidget(longInput, 1);
    return w;
}

} // namespace

TFormFirma::TFormFirma(DataModules &dm, const QString &exeDir, QWidget *parent)
    : RecordDialog(parent), m_qrFirma(dm.dmFirma->qrFirma), m_exeDir(exeDir)
{
    setObjectName(QStringLiteral("FormFirma"));
    setWindowTitle(QStringLiteral("Eigene Stammdaten"));
    guarded([this] {
        if (!m_qrFirma->isOpen())
            m_qrFirma->open();
        else if (!m_qrFirma->isPending())
            m_qrFirma->first();
    });

    auto *bar = new RecordToolBar(m_qrFirma, this);
    bar->addCloseButton(QStringLiteral("tbutEnde"), QStringLiteral("&Ende"));
    bar->addSaveButton(QStringLiteral("tbutSpeichern"), QStringLiteral("&Speichern"));
    bar->addCancelButton(QStringLiteral("tbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("tbutLoeschen"), QStringLiteral("&Löschen"),
                         QStringLiteral("Datensatz löschen?"));
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(10, 8, 10, 10);
    body->setSpacing(10);
    body->addWidget(makeBaseGroup(), 1);
    body->addWidget(makeMoreGroup(), 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addLayout(body);

    setPostOnClose(m_qrFirma);
}

QWidget *TFormFirma::makeBaseGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Grunddaten"), this);
    group->setObjectName(QStringLiteral("gbGrunddaten"));
    QFormLayout *form = formLayout(group);
    DataSet *ds = m_qrFirma;
    DbEdit *name1 = edit(ds, QStringLiteral("Name1"), group);
    name1->setMinimumWidth(260);
    form->addRow(QStringLiteral("Name 1 :"), name1);
    form->addRow(QStringLiteral("Name 2 :"), edit(ds, QStringLiteral("Name2"), group));
    form->addRow(QStringLiteral("Name 3 :"), edit(ds, QStringLiteral("Name3"), group));
    form->addRow(QStringLiteral("Suchname :"), edit(ds, QStringLiteral("Suna"), group));
    form->addRow(QStringLiteral("Strasse :"), edit(ds, QStringLiteral("Strasse"), group));
    // Made one after the other: the tab order follows the order of creation, and the
    // arguments of one call may be evaluated in any order.
    DbEdit *plz = edit(ds, QStringLiteral("Plz"), group, EditMask::Postcode);
    DbEdit *ort = edit(ds, QStringLiteral("Ort"), group);
    form->addRow(QStringLiteral("Plz / Ort :"), pair(plz, ort, group));
    DbEdit *poPlz = edit(ds, QStringLiteral("Poplz"), group);
    DbEdit *poFach = edit(ds, QStringLiteral("PoFach"), group);
    form->addRow(QStringLiteral("PoPlz / Postfach :"), pair(poPlz, poFach, group));
    form->addRow(QStringLiteral("Telefon :"), edit(ds, QStringLiteral("Telefon"), group));
    form->addRow(QStringLiteral("Telefax :"), edit(ds, QStringLiteral("Telefax"), group));
    form->addRow(QStringLiteral("Mobil :"), edit(ds, QStringLiteral("Mobil"), group));
    form->addRow(QStringLiteral("Email :"), edit(ds, QStringLiteral("Email"), group));
    form->addRow(QStringLiteral("Internet :"), edit(ds, QStringLiteral("Internet"), group));
    form->addRow(QStringLiteral("Formularhinweis :"), edit(ds, QStringLiteral("Sblang"), group));
    return group;
}

QWidget *TFormFirma::makeMoreGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Weitere Daten"), this);
    group->setObjectName(QStringLiteral("gbWeitereDaten"));
    auto *tabs = new QTabWidget(group);
    tabs->setObjectName(QStringLiteral("pcWeitereDaten"));
    tabs->addTab(makePrintTab(), QStringLiteral("Druckparameter"));
    tabs->addTab(makeBankTab(), QStringLiteral("Banken"));
    tabs->addTab(makeReportTab(), QStringLiteral("Reportpfad"));
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(tabs);
    return group;
}

QWidget *TFormFirma::makePrintTab()
{
    auto *page = new QWidget(this);
    auto *bank1 = new DbCheckBox(m_qrFirma, QStringLiteral("Bank1Verwenden"), QStringLiteral("Bank 1 drucken"), page);
    bank1->setObjectName(QStringLiteral("cbBank1Verwenden"));
    auto *bank2 = new DbCheckBox(m_qrFirma, QStringLiteral("Bank2Verwenden"), QStringLiteral("Bank 2 drucken"), page);
    bank2->setObjectName(QStringLiteral("cbBank2Verwenden"));
    auto *choice = new DbRadioGroup(m_qrFirma, QStringLiteral("Briefkopfwahl"), QStringLiteral("Formularwahl"),
                                    {QStringLiteral("Standardformular"), QStringLiteral("Internes Formular")}, page);
    choice->setObjectName(QStringLiteral("rgBriefkopfwahl"));
    choice->button(0)->setObjectName(QStringLiteral("rbStandardformular"));
    choice->button(1)->setObjectName(QStringLiteral("rbInternesFormular"));

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(bank1);
    layout->addWidget(bank2);
    layout->addSpacing(8);
    layout->addWidget(choice);
    layout->addStretch(1);
    return page;
}

QWidget *TFormFirma::makeBankTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    // IBAN and BIC replaced account number and bank code with SEPA; the old columns stay
    // stored, and letters print them only while no IBAN is given.
    const QString fields[2][3] = {
        {QStringLiteral("Bank1Name1"), QStringLiteral("Bank1Iban"), QStringLiteral("Bank1Bic")},
        {QStringLiteral("Bank2Name1"), QStringLiteral("Bank2Iban"), QStringLiteral("Bank2Bic")}};
    for (int bank = 0; bank < 2; ++bank) {
        auto *group = new QGroupBox(QStringLiteral("Bank %1").arg(bank + 1), page);
        QFormLayout *form = formLayout(group);
        form->addRow(QStringLiteral("Bankname :"), edit(m_qrFirma, fields[bank][0], group));
        DbEdit *iban = edit(m_qrFirma, fields[bank][1], group);
        iban->setPlaceholderText(QStringLiteral("DE12 3456 7890 1234 5678 90"));
        form->addRow(QStringLiteral("IBAN :"), iban);
        DbEdit *bic = edit(m_qrFirma, fields[bank][2], group);
        bic->setPlaceholderText(QStringLiteral("8 oder 11 Stellen"));
        form->addRow(QStringLiteral("BIC :"), bic);
        layout->addWidget(group);
    }
    layout->addStretch(1);
    return page;
}

QWidget *TFormFirma::makeReportTab()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(4);
    struct Choice
    {
        QString title, field, button, buttonName, caption, folder;
    };
    const Choice choices[] = {
        {QStringLiteral("Pfad für die Report-Vorlagen"), QStringLiteral("FReportIn"), QStringLiteral("Vorlagen"),
         QStringLiteral("btnVorlagen"), QStringLiteral("Verzeichnis der Report-Vorlagen wählen"),
         QStringLiteral("Reportvorlagen")},
        {QStringLiteral("Pfad für die Report-Ausgabe"), QStringLiteral("FReportOut"), QStringLiteral("Ausgabe"),
         QStringLiteral("btnAusgabe"), QStringLiteral("Verzeichnis der Report-Ausgabe wählen"),
         QStringLiteral("Reportausgabe")}};
    for (const Choice &c : choices) {
        layout->addWidget(new QLabel(c.title, page));
        auto *row = new QHBoxLayout;
        row->setSpacing(6);
        DbEdit *path = edit(m_qrFirma, c.field, page);
        path->setMinimumWidth(240);
        // A long folder does not fit the input; the hint shows it whole.
        connect(path, &QLineEdit::textChanged, path, [path](const QString &text) {
            path->setToolTip(QDir::toNativeSeparators(text));
        });
        path->setToolTip(QDir::toNativeSeparators(path->text()));
        auto *button = new QPushButton(c.button, page);
        button->setObjectName(c.buttonName);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, c] { chooseDirectory(c.field, c.caption, c.folder); });
        row->addWidget(path, 1);
        row->addWidget(button);
        layout->addLayout(row);
        layout->addSpacing(12);
    }
    layout->addStretch(1);
    return page;
}

void TFormFirma::chooseDirectory(const QString &field, const QString &caption, const QString &folder)
{
    const QString chosen = Dialogs::instance().chooseDirectory(caption, m_exeDir + folder);
    if (chosen.isEmpty())
        return;
    // The printouts put the file name right after the stored folder.
    QString dir = QDir::fromNativeSeparators(chosen);
    if (!dir.endsWith(u'/'))
        dir += u'/';
    guarded([&] {
        if (!m_qrFirma->isOpen())
            m_qrFirma->open();
        const int size = m_qrFirma->field(field).size;
        if (size > 0 && dir.size() > size) {
            // Cut short, the path would name another folder.
            ShowMsg(QStringLiteral("Der Pfad\r%1\rist zu lang: höchstens %2 Zeichen sind möglich.")
                        .arg(QDir::toNativeSeparators(dir))
                        .arg(size),
                    mkWarning);
            return;
        }
        m_qrFirma->edit();
        m_qrFirma->setValue(field, dir);
    });
}
