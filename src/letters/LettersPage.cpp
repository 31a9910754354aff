#include "letters/LettersPage.h"

#include "contacts/ChooseContact.h"
#include "contacts/TFormKontakteErfassen.h"
#include "core/DateUtil.h"
#include "data/DataModules.h"
#include "letters/LetterPrintout.h"
#include "letters/TFormTbau.h"
#include "letters/rules/LetterRules.h"
#include "ui/DbCheckBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/DbMemo.h"
#include "ui/DbNavigator.h"
#include "ui/Dialogs.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"
#include "ui/Printout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

LettersPage::LettersPage(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("lettersPage"));
    DataSet *letters = dm.dmSchrift->qrSchrift;

    auto *upper = new RecordToolBar(letters, this);
    upper->setObjectName(QStringLiteral("brToolBar"));
    upper->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    upper->setIconSize(QSize(16, 16));
    upper->setBeforeNew([this] { m_tabs->setCurrentIndex(0); });
    upper->addNewButton(QStringLiteral("brTbutNeu"), QStringLiteral("&Neu"), RecordToolBar::NewMode::Insert);
    upper->addSaveButton(QStringLiteral("brTbutSpeichern"), QStringLiteral("&Speichern"));
    upper->addCancelButton(QStringLiteral("brTbutAbbruch"), QStringLiteral("&Abbruch"));
    upper->addDeleteButton(QStringLiteral("brTbutLoeschen"), QStringLiteral("&Löschen"), QStringLiteral("Datensatz löschen?"));
    Printout::offerPdf(upper->addButton(QStringLiteral("brTbutDrucken"), QStringLiteral("D&rucken"),
                                        Icons::standard(QStyle::SP_FileDialogContentsView), [this] { print(); }));
    upper->addButton(QStringLiteral("brTbutHilfe"), QStringLiteral("Hilfe"), Icons::standard(QStyle::SP_DialogHelpButton),
                     [this] { Help::open(QStringLiteral("Briefe"), this); });

    auto *lower = new RecordToolBar(letters, this);
    lower->setObjectName(QStringLiteral("brToolBar2"));
    lower->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    lower->setIconSize(QSize(16, 16));
    lower->addButton(QStringLiteral("brTbutKontakt"), QStringLiteral("Kontakt bearbeiten"),
                     Icons::standard(QStyle::SP_FileDialogInfoView), [this] { editContact(); });
    lower->addButton(QStringLiteral("brTbutTextbau"), QStringLiteral("Textbausteine"),
                     Icons::standard(QStyle::SP_FileDialogListView), [this] { takeTextModule(); });

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("brTabs"));
    m_tabs->addTab(buildRecipientTab(), QStringLiteral("Empfänger"));
    m_tabs->addTab(buildSubjectTab(), QStringLiteral("Betreff"));
    m_tabs->addTab(buildTextTab(), QStringLiteral("Text"));
    upper->setFirstInput(findChild<QWidget *>(QStringLiteral("brbutEmpfaenger")));

    auto *bars = new QHBoxLayout;
    bars->addWidget(upper);
    bars->addWidget(lower);
    bars->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bars);
    layout->addWidget(buildHeader());
    layout->addWidget(m_tabs, 1);

    for (auto signal : {&DataSet::currentRowChanged, &DataSet::rowsReset})
        connect(letters, signal, this, &LettersPage::followRecipient);
    connect(letters, &DataSet::fieldChanged, this, [this](const QString &field) {
        if (field.compare(QLatin1String("Emp_id"), Qt::CaseInsensitive) == 0)
            followRecipient();
    });
    followRecipient();
}

QWidget *LettersPage::buildHeader()
{
    DataSet *letters = m_dm.dmSchrift->qrSchrift;
    auto *header = new QWidget(this);
    header->setObjectName(QStringLiteral("brHeader"));
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(4, 2, 4, 2);
    auto *date = button(QStringLiteral("brbutDatum"), QStringLiteral("Datum"), header);
    connect(date, &QPushButton::clicked, this, [this] {
        guarded([this] { editLetter()->setValue(QStringLiteral("Erfdat"), DateUtil::today()); });
    });
    auto *dateValue = new DbEdit(letters, QStringLiteral("Erfdat"), header, EditMask::Date);
    dateValue->setObjectName(QStringLiteral("brdbeDatum"));
    dateValue->setMaximumWidth(dateValue->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
    auto *title = button(QStringLiteral("brbutTitel"), QStringLiteral("Titel"), header);
    auto *titleValue = new DbEdit(letters, QStringLiteral("Titel"), header);
    titleValue->setObjectName(QStringLiteral("brdbeTitel"));
    connect(title, &QPushButton::clicked, this, [this, titleValue] {
        guarded([this] {
            DataSet *recipient = m_dm.dmSchrift->qrEmpKon;
            const QString name = recipient->isOpen() && !recipient->isEmpty() ? recipient->asString(QStringLiteral("suna"))
                                                                              : QString();
            editLetter()->setValue(QStringLiteral("Titel"), LetterRules::titleStart(name));
        });
        titleValue->setFocus();
        titleValue->end(false);
    });
    auto *navigator = new DbNavigator(letters, header);
    navigator->setObjectName(QStringLiteral("brNavigator"));
    navigator->firstButton()->hide();
    navigator->lastButton()->hide();
    auto *copy = button(QStringLiteral("brbutTextKopieren"), QStringLiteral("Text kopieren"), header);
    connect(copy, &QPushButton::clicked, this, [this] { copyText(); });
    row->addWidget(date);
    row->addWidget(dateValue);
    row->addSpacing(12);
    row->addWidget(title);
    row->addWidget(titleValue, 1);
    row->addSpacing(12);
    row->addWidget(navigator);
    row->addWidget(copy);
    return header;
}

QWidget *LettersPage::buildRecipientTab()
{
    DataSet *letters = m_dm.dmSchrift->qrSchrift;
    DataSet *recipient = m_dm.dmSchrift->qrEmpKon;
    auto *tab = new QWidget(this);

    auto *box = new QGroupBox(QStringLiteral("Empfänger"), tab);
    auto *grid = new QGridLayout(box);
    auto *choose = button(QStringLiteral("brbutEmpfaenger"), QStringLiteral("Empfänger wählen"), box);
    connect(choose, &QPushButton::clicked, this, [this] { chooseRecipient(); });
    auto *form = new QGroupBox(box);
    form->setObjectName(QStringLiteral("rgForm"));
    auto *standard = new QRadioButton(QStringLiteral("Standardformular"), form);
    standard->setObjectName(QStringLiteral("rbStandard"));
    standard->setChecked(true);
    m_internal = new QRadioButton(QStringLiteral("Internes Formular"), form);
    m_internal->setObjectName(QStringLiteral("rbIntern"));
    auto *formLayout = new QHBoxLayout(form);
    formLayout->addWidget(standard);
    formLayout->addWidget(m_internal);
    grid->addWidget(choose, 0, 0, 1, 1);
    grid->addWidget(form, 0, 1, 1, 3);

    auto *number = DbLabel::formField(letters, QStringLiteral("Emp_id"), QStringLiteral("brlblEmp_id"), box);
    int r = 1;
    auto addRow = [&](const QString &caption, QWidget *first, QWidget *second = nullptr) {
        grid->addWidget(new QLabel(caption, box), r, 0, Qt::AlignRight);
        if (second) {
            grid->addWidget(first, r, 1);
            grid->addWidget(second, r, 2, 1, 2);
        } else {
            grid->addWidget(first, r, 1, 1, 3);
        }
        ++r;
    };
    addRow(QStringLiteral("Nummer :"), number);
    addRow(QStringLiteral("Name 1 :"), DbLabel::formField(recipient, QStringLiteral("name1"), QStringLiteral("brlblname1"), box));
    addRow(QStringLiteral("Name 2 :"), DbLabel::formField(recipient, QStringLiteral("name2"), QStringLiteral("brlblname2"), box));
    addRow(QStringLiteral("Name 3 :"), DbLabel::formField(recipient, QStringLiteral("name3"), QStringLiteral("brlblname3"), box));
    addRow(QStringLiteral("Strasse/Hsnr :"), DbLabel::formField(recipient, QStringLiteral("strasse"), QStringLiteral("brlblstrasse"), box),
           DbLabel::formField(recipient, QStringLiteral("hausnr"), QStringLiteral("brlblhausnr"), box));
    addRow(QStringLiteral("Plz/Ort :"), DbLabel::formField(recipient, QStringLiteral("plz"), QStringLiteral("brlblplz"), box),
           DbLabel::formField(recipient, QStringLiteral("ort"), QStringLiteral("brlblort"), box));
    addRow(QStringLiteral("Postfach :"), DbLabel::formField(recipient, QStringLiteral("pofach"), QStringLiteral("brlblpofach"), box));
    auto *poOrt = DbLabel::formField(recipient, QStringLiteral("ort"), QStringLiteral("brlblort"), box);
    poOrt->setObjectName(QStringLiteral("brlblPoOrt"));
    addRow(QStringLiteral("PoPlz/Ort :"), DbLabel::formField(recipient, QStringLiteral("poplz"), QStringLiteral("brlblpoplz"), box), poOrt);
    auto *postBox = new DbCheckBox(recipient, QStringLiteral("poverwenden"), QStringLiteral("Postfachadresse verwenden"), box);
    postBox->setObjectName(QStringLiteral("brcbPoVerwenden"));
    postBox->setAttribute(Qt::WA_TransparentForMouseEvents);
    postBox->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(postBox, r++, 1, 1, 3);
    auto *contact = new DbEdit(letters, QStringLiteral("Emp_Anpa"), box);
    contact->setObjectName(QStringLiteral("brdbeAnpa"));
    addRow(QStringLiteral("Ansprech.-P. :"), contact);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    grid->setRowStretch(r, 1);

    auto *files = new QGroupBox(QStringLiteral("Aktenadressen"), tab);
    auto *fileTabs = new QTabWidget(files);
    fileTabs->setObjectName(QStringLiteral("brAktenTabs"));
    auto *list = new DbGrid(letters, {{QStringLiteral("Erfdat"), QStringLiteral("Erfassungsdatum"), 110},
                                      {QStringLiteral("Titel"), QStringLiteral("Titel"), 260}},
                            fileTabs);
    list->setObjectName(QStringLiteral("brdbgListe"));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->horizontalHeader()->setStretchLastSection(true);
    fileTabs->addTab(list, QStringLiteral("Liste"));
    (new QVBoxLayout(files))->addWidget(fileTabs);

    auto *layout = new QHBoxLayout(tab);
    layout->addWidget(box, 1);
    layout->addWidget(files, 1);
    return tab;
}

QWidget *LettersPage::writingTo(QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto *name = new DbLabel(m_dm.dmSchrift->qrEmpKon, QStringLiteral("suna"), row);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    h->addWidget(new QLabel(QStringLiteral("Schreiben an:"), row));
    h->addWidget(name, 1);
    return row;
}

QWidget *LettersPage::buildSubjectTab()
{
    DataSet *letters = m_dm.dmSchrift->qrSchrift;
    auto *tab = new QWidget(this);
    auto *top = new QHBoxLayout;
    QWidget *to = writingTo(tab);
    to->findChild<DbLabel *>()->setObjectName(QStringLiteral("brlblSchreibenAn"));
    top->addWidget(to, 1);
    auto *clear = button(QStringLiteral("brbutBetreffLoeschen"), QStringLiteral("Betreffzeile löschen"), tab);
    connect(clear, &QPushButton::clicked, this,
            [this] { guarded([this] { editLetter()->setValue(QStringLiteral("Betreff"), QString()); }); });
    top->addWidget(clear);

    auto *subjectBox = new QGroupBox(QStringLiteral("Betreffzeile"), tab);
    auto *subject = new DbMemo(letters, QStringLiteral("Betreff"), subjectBox);
    subject->setObjectName(QStringLiteral("brdbmBetreff"));
    (new QVBoxLayout(subjectBox))->addWidget(subject);

    auto *refs = new QGroupBox(QStringLiteral("Ihr / Unser Zeichen"), tab);
    auto *refGrid = new QGridLayout(refs);
    auto *yours = new DbEdit(letters, QStringLiteral("IhrZeichen"), refs);
    yours->setObjectName(QStringLiteral("brdbeIhrZeichen"));
    auto *ours = new DbEdit(letters, QStringLiteral("UnserZeichen"), refs);
    ours->setObjectName(QStringLiteral("brdbeUnserZeichen"));
    refGrid->addWidget(new QLabel(QStringLiteral("Ihr Zeichen :"), refs), 0, 0, Qt::AlignRight);
    refGrid->addWidget(yours, 0, 1);
    refGrid->addWidget(new QLabel(QStringLiteral("Unser Zeichen :"), refs), 1, 0, Qt::AlignRight);
    refGrid->addWidget(ours, 1, 1);

    auto *adviser = new QGroupBox(QStringLiteral("Sachbearbeiter"), tab);
    auto *advGrid = new QGridLayout(adviser);
    auto *sb = new DbEdit(letters, QStringLiteral("SB"), adviser);
    sb->setObjectName(QStringLiteral("brdbeSB"));
    auto *phone = new DbEdit(letters, QStringLiteral("SBTelefon"), adviser);
    phone->setObjectName(QStringLiteral("brdbeSBTelefon"));
    advGrid->addWidget(new QLabel(QStringLiteral("SB :"), adviser), 0, 0, Qt::AlignRight);
    advGrid->addWidget(sb, 0, 1);
    advGrid->addWidget(new QLabel(QStringLiteral("SB-Telefon :"), adviser), 1, 0, Qt::AlignRight);
    advGrid->addWidget(phone, 1, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(refs, 1);
    bottom->addWidget(adviser, 1);
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(top);
    layout->addWidget(subjectBox, 1);
    layout->addLayout(bottom);
    return tab;
}

QWidget *LettersPage::buildTextTab()
{
    auto *tab = new QWidget(this);
    auto *text = new DbMemo(m_dm.dmSchrift->qrSchrift, QStringLiteral("Text"), tab);
    text->setObjectName(QStringLiteral("brdbmText"));
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(writingTo(tab));
    layout->addWidget(text, 1);
    return tab;
}

DataSet *LettersPage::editLetter()
{
    DataSet *letters = m_dm.dmSchrift->qrSchrift;
    if (!letters->isPending())
        letters->edit();   // a user without letters gets a new one, with its creation defaults
    return letters;
}

void LettersPage::followRecipient()
{
    DataSet *letters = m_dm.dmSchrift->qrSchrift;
    const int id = letters->isOpen() && !letters->isEmpty() ? letters->value(QStringLiteral("Emp_id")).toInt() : 0;
    guarded([this, id] { m_dm.dmSchrift->showRecipient(id); });
}

void LettersPage::chooseRecipient()
{
    guarded([this] {
        DataSet *contacts = m_dm.dmAdressen->qrKontakte;
        contacts->reopen();
        const int id = ChooseContact(m_dm, window());
        contacts->locate(QStringLiteral("Adr_id"), id);
        if (!ContactTakenOver())
            return;
        DataSet *letters = m_dm.dmSchrift->qrSchrift;
        const bool hasRecipient = letters->isOpen() && !letters->isEmpty()
                                  && letters->value(QStringLiteral("Emp_id")).toInt() > 0;
        if (hasRecipient && !AskYesNo(QStringLiteral("Adresse überschreiben?"), mkWarning))
            return;
        editLetter();
        letters->setValue(QStringLiteral("Emp_id"), id);
        m_dm.dmSchrift->showRecipient(id);
        letters->setValue(QStringLiteral("Emp_Mako"), true);
    });
}

void LettersPage::editContact()
{
    guarded([this] {
        m_dm.dmFirma->qrPlzOrt->reopen();
        m_dm.dmFirma->qrBuland->reopen();
        DataSet *contacts = m_dm.dmAdressen->qrKontakte;
        contacts->reopen();
        DataSet *letters = m_dm.dmSchrift->qrSchrift;
        const int id = letters->isOpen() && !letters->isEmpty() ? letters->value(QStringLiteral("Emp_id")).toInt() : 0;
        if (id > 0)
            contacts->locate(QStringLiteral("Adr_id"), id);
        {
            TFormKontakteErfassen window(m_dm, this->window());
            window.exec();
        }
        m_dm.dmAdressen->qrKontWahl->close();
        m_dm.dmSchrift->showRecipient(id);
    });
}

void LettersPage::copyText()
{
    guarded([this] {
        if (!AskYesNo(QStringLiteral("Text in einen neuen Datensatz kopieren?"), mkWarning))
            return;
        m_tabs->setCurrentIndex(0);
        DataSet *letters = m_dm.dmSchrift->qrSchrift;
        QList<QVariant> kept;
        for (const QString &column : LetterRules::copiedColumns())
            kept << (letters->isOpen() && !letters->isEmpty() ? letters->value(column) : QVariant());
        letters->insert();
        for (int i = 0; i < kept.size(); ++i)
            letters->setValue(LetterRules::copiedColumns().at(i), kept.at(i));
    });
}

void LettersPage::takeTextModule()
{
    guarded([this] {
        m_dm.dmSchrift->openTextModules();
        {
            TFormTbau window(m_dm, this->window());
            window.exec();
        }
        DataSet *modules = m_dm.dmSchrift->qrTbau;
        const QString text = modules->isOpen() && !modules->isEmpty() ? modules->asString(QStringLiteral("TText")) : QString();
        if (!TFormTbau::takenOver())
            return;
        DataSet *letter = editLetter();
        letter->setValue(QStringLiteral("Text"), LetterRules::withModule(letter->asString(QStringLiteral("Text")), text));
    });
}

void LettersPage::print()
{
    guarded([this] {
        LetterPrintout::print(m_dm, m_internal->isChecked() ? LetterPrintValues::Form::Internal
                                                            : LetterPrintValues::Form::Standard);
    });
}
