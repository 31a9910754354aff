#include "infothek/TFormInfoRubrik.h"

#include "core/AppError.h"
#include "data/DataModules.h"
#include "infothek/rules/InfothekRules.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/RecordToolBar.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormInfoRubrik::TFormInfoRubrik(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FormInfoRubrik"));
    setWindowTitle(QStringLiteral("Infothek - Rubrik"));
    DataSet *rubrics = dm.dmExtras->qrInfoRubrikEdit;
    setPostOnClose(rubrics);

    auto *bar = new RecordToolBar(rubrics, this);
    bar->setObjectName(QStringLiteral("irToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addCloseButton(QStringLiteral("irTbutSchliessen"), QStringLiteral("Schließen"));
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);
    bar->addNewButton(QStringLiteral("irTbutNeu"), QStringLiteral("&Neu"));
    bar->addSaveButton(QStringLiteral("irTbutSpeichern"), QStringLiteral("&Speichern"));
    bar->addCancelButton(QStringLiteral("irTbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("irTbutLoeschen"), QStringLiteral("&Löschen"), QStringLiteral("Datensatz löschen?"));

    auto *input = new QGroupBox(QStringLiteral("Eingabe"), this);
    auto *grid = new QGridLayout(input);
    auto *name = new DbEdit(rubrics, QStringLiteral("Rubrik"), input);
    name->setObjectName(QStringLiteral("irdbeRubrik"));
    auto *pathButton = new QPushButton(QStringLiteral("Dateipfad"), input);
    pathButton->setObjectName(QStringLiteral("irbutPfad"));
    pathButton->setAutoDefault(false);
    connect(pathButton, &QPushButton::clicked, this, &TFormInfoRubrik::chooseDirectory);
    auto *path = new DbEdit(rubrics, QStringLiteral("Pfad"), input);
    path->setObjectName(QStringLiteral("irdbePfad"));
    // Set by the button only, which writes the trailing delimiter the document path needs.
    path->setReadOnly(true);
    grid->addWidget(new QLabel(QStringLiteral("Rubrikbezeichnung :"), input), 0, 0, Qt::AlignRight);
    grid->addWidget(name, 0, 1);
    grid->addWidget(pathButton, 1, 0);
    grid->addWidget(path, 1, 1);
    bar->setFirstInput(name);

    auto *listBox = new QGroupBox(QStringLiteral("Liste"), this);
    auto *list = new DbGrid(rubrics, {{QStringLiteral("Rubrik"), QStringLiteral("Rubrik"), 160},
                                      {QStringLiteral("Pfad"), QStringLiteral("Pfad"), 0}},
                            listBox);
    list->setObjectName(QStringLiteral("irdbgListe"));
    list->setReadOnly(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();
    (new QVBoxLayout(listBox))->addWidget(list);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(input);
    layout->addWidget(listBox, 1);
    resize(620, 420);
}

void TFormInfoRubrik::chooseDirectory()
{
    DataSet *rubrics = m_dm.dmExtras->qrInfoRubrikEdit;
    const QString chosen = Dialogs::instance().chooseDirectory(QStringLiteral("Dateipfad"),
                                                               rubrics->asString(QStringLiteral("Pfad")));
    if (chosen.isEmpty())
        return;
    // The document path is the rubric's directory directly followed by the file name.
    QString dir = QDir::fromNativeSeparators(chosen);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    guarded([&] {
        const QString tooLong = InfothekRules::tooLongMessage(QStringLiteral("Der Pfad"), QDir::toNativeSeparators(dir),
                                                              rubrics->field(QStringLiteral("Pfad")).size);
        if (!tooLong.isEmpty())
            throw UserWarning(tooLong);
        rubrics->edit();
        rubrics->setValue(QStringLiteral("Pfad"), dir);
    });
}

void TFormInfoRubrik::run(DataModules &dm, QWidget *parent)
{
    TdmExtras &extras = *dm.dmExtras;
    extras.qrInfos->close();
    extras.qrInfoRubrikEdit->reopen();
    {
        TFormInfoRubrik window(dm, parent);
        window.exec();
    }
    // Closing the window stored a pending rubric; the page shows what is stored now.
    guarded([&] {
        extras.qrInfoRubrikEdit->post();
        extras.qrInfoRubrik->reopen();
        InfothekRules::openDocuments(*extras.qrInfos, extras.qrInfoRubrik->value(QStringLiteral("Rubrik_id")));
    });
    extras.qrInfoRubrikEdit->close();
}
