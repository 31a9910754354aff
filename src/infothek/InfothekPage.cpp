#include "infothek/InfothekPage.h"

#include "core/AppError.h"
#include "data/DataModules.h"
#include "infothek/InfothekPrintout.h"
#include "infothek/rules/InfothekRules.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"
#include "ui/Printout.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

InfothekPage::InfothekPage(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("infothekPage"));
    DataSet *documents = dm.dmExtras->qrInfos;

    auto *bar = new RecordToolBar(documents, this);
    bar->setObjectName(QStringLiteral("itToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(16, 16));
    bar->addNewButton(QStringLiteral("itneu"), QStringLiteral("Neu"));
    bar->addSaveButton(QStringLiteral("itspeichern"), QStringLiteral("Speichern"));
    bar->addCancelButton(QStringLiteral("itabbruch"), QStringLiteral("Abbruch"));
    bar->addDeleteButton(QStringLiteral("itloeschen"), QStringLiteral("Löschen"), QStringLiteral("Dokument löschen?"));
    Printout::offerPdf(bar->addButton(QStringLiteral("itdrucken"), QStringLiteral("Drucken"),
                                      Icons::standard(QStyle::SP_FileDialogContentsView),
                                      [this] { InfothekPrintout::print(m_dm); }));
    bar->addButton(QStringLiteral("ithilfe"), QStringLiteral("Hilfe"), Icons::standard(QStyle::SP_DialogHelpButton),
                   [this] { Help::open(QStringLiteral("Infothek"), this); });

    QWidget *details = buildDetails();
    bar->setFirstInput(findChild<QWidget *>(QStringLiteral("itbutDatei")));

    auto *listBox = new QGroupBox(QStringLiteral("Dokumentenliste"), this);
    auto *list = new DbGrid(documents, {{QStringLiteral("Kurz"), QStringLiteral("Dokumentbezeichnung"), 0}}, listBox);
    list->setObjectName(QStringLiteral("itdbgDokumente"));
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();
    (new QVBoxLayout(listBox))->addWidget(list);

    auto *left = new QVBoxLayout;
    left->addWidget(details);
    left->addWidget(listBox, 1);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addWidget(buildRubrics(), 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addLayout(body, 1);

    DataSet *rubrics = dm.dmExtras->qrInfoRubrik;
    connect(rubrics, &DataSet::currentRowChanged, this, &InfothekPage::followRubric);
}

QWidget *InfothekPage::buildDetails()
{
    DataSet *documents = m_dm.dmExtras->qrInfos;
    auto *box = new QGroupBox(QStringLiteral("Info-Details"), this);
    auto *grid = new QGridLayout(box);
    auto *fileButton = new QPushButton(QStringLiteral("Dateiname"), box);
    fileButton->setObjectName(QStringLiteral("itbutDatei"));
    fileButton->setAutoDefault(false);
    connect(fileButton, &QPushButton::clicked, this, &InfothekPage::chooseFile);
    // The name only comes from the file dialog: a typed path could point anywhere.
    auto *kurz = new DbEdit(documents, QStringLiteral("Kurz"), box);
    kurz->setObjectName(QStringLiteral("itdbeKurz"));
    auto *schlag = new DbEdit(documents, QStringLiteral("Schlag"), box);
    schlag->setObjectName(QStringLiteral("itdbeSchlag"));
    grid->addWidget(fileButton, 0, 0);
    grid->addWidget(DbLabel::formField(documents, QStringLiteral("Datei"), QStringLiteral("itlblDatei"), box), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Bezeichnung :"), box), 1, 0, Qt::AlignRight);
    grid->addWidget(kurz, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Suchwörter :"), box), 2, 0, Qt::AlignRight);
    grid->addWidget(schlag, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Rubrik :"), box), 3, 0, Qt::AlignRight);
    grid->addWidget(DbLabel::formField(documents, QStringLiteral("Rubrik"), QStringLiteral("itlblRubrik"), box), 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Dateipfad :"), box), 4, 0, Qt::AlignRight);
    grid->addWidget(DbLabel::formField(documents, QStringLiteral("Pfad"), QStringLiteral("itlblPfad"), box), 4, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget *InfothekPage::buildRubrics()
{
    auto *box = new QGroupBox(QStringLiteral("Info - Rubrik"), this);
    auto *searchIn = new QGroupBox(QStringLiteral("Suchen in"), box);
    searchIn->setObjectName(QStringLiteral("itrgSuchen"));
    auto *inShort = new QRadioButton(QStringLiteral("Kurzbeschreibung"), searchIn);
    inShort->setObjectName(QStringLiteral("itrbKurz"));
    inShort->setChecked(true);
    m_inKeywords = new QRadioButton(QStringLiteral("Schlagwörter"), searchIn);
    m_inKeywords->setObjectName(QStringLiteral("itrbSchlag"));
    auto *searchInLayout = new QHBoxLayout(searchIn);
    searchInLayout->addWidget(inShort);
    searchInLayout->addWidget(m_inKeywords);
    searchInLayout->addStretch(1);

    m_searchText = new QLineEdit(box);
    m_searchText->setObjectName(QStringLiteral("iteSuchen"));
    auto *go = new QPushButton(QStringLiteral("Suchen"), box);
    go->setObjectName(QStringLiteral("itbutGo"));
    // The default button of the page: Enter anywhere on it starts the search (a page has no
    // dialog to press its default button, so the page does it, see keyPressEvent).
    go->setDefault(true);
    connect(go, &QPushButton::clicked, this, &InfothekPage::search);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchText, 1);
    searchRow->addWidget(go);

    auto *list = new DbGrid(m_dm.dmExtras->qrInfoRubrik, {{QStringLiteral("Rubrik"), QStringLiteral("Rubrik"), 0}}, box);
    list->setObjectName(QStringLiteral("itdbgRubrik"));
    list->setReadOnly(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();

    auto *layout = new QVBoxLayout(box);
    layout->addWidget(searchIn);
    layout->addLayout(searchRow);
    layout->addWidget(list, 1);
    return box;
}

void InfothekPage::keyPressEvent(QKeyEvent *event)
{
    // Every field of the page leaves Enter unused, so it arrives here.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        search();
        return;
    }
    QWidget::keyPressEvent(event);
}

void InfothekPage::followRubric()
{
    TdmExtras &extras = *m_dm.dmExtras;
    DataSet *rubrics = extras.qrInfoRubrik;
    if (!rubrics->isOpen() || m_followingBack)
        return;
    const QVariant shown = extras.qrInfos->isOpen() ? extras.qrInfos->param(QStringLiteral("pvrubrik_id")) : QVariant();
    if (guarded([&] { InfothekRules::openDocuments(*extras.qrInfos, rubrics->value(QStringLiteral("Rubrik_id"))); }))
        return;
    // The document being edited could not be stored: the rubric stays with its documents,
    // so the list and what is typed still belong together.
    if (shown.isNull())
        return;
    m_followingBack = true;
    guarded([&] { rubrics->locate(QStringLiteral("Rubrik_id"), shown); });
    m_followingBack = false;
}

void InfothekPage::search()
{
    TdmExtras &extras = *m_dm.dmExtras;
    const InfothekRules::SearchIn in =
        m_inKeywords->isChecked() ? InfothekRules::SearchIn::Keywords : InfothekRules::SearchIn::ShortDescription;
    guarded([&] {
        extras.qrInfos->close();
        extras.qrInfos->setSql(InfothekRules::searchSql(m_searchText->text(), in));
        InfothekRules::openDocuments(*extras.qrInfos, extras.qrInfoRubrik->value(QStringLiteral("Rubrik_id")));
    });
}

void InfothekPage::chooseFile()
{
    TdmExtras &extras = *m_dm.dmExtras;
    if (!extras.qrInfoRubrik->isOpen() || extras.qrInfoRubrik->isEmpty()) {
        ShowMsg(InfothekRules::NoRubricOnFileName, mkWarning);
        return;
    }
    DataSet *documents = extras.qrInfos;
    if (!guarded([&] { documents->edit(); }))
        return;
    const QString chosen = Dialogs::instance().chooseFile(QStringLiteral("Dateiname"),
                                                          extras.qrInfoRubrik->asString(QStringLiteral("Pfad")), QString());
    if (chosen.isEmpty())
        return;
    // Stored by name only: the document is looked for in the rubric's directory.
    const QString name = QFileInfo(chosen).fileName();
    guarded([&] {
        const QString tooLong =
            InfothekRules::tooLongMessage(QStringLiteral("Der Dateiname"), name, documents->field(QStringLiteral("Datei")).size);
        if (!tooLong.isEmpty())
            throw UserWarning(tooLong);
        documents->setValue(QStringLiteral("Datei"), name);
    });
}
