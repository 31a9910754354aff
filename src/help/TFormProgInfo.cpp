#include "help/TFormProgInfo.h"

#include "data/DataModules.h"
#include "help/HelpPrintout.h"
#include "help/rules/HelpTexts.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbMemo.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"
#include "ui/Printout.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

TFormProgInfo::TFormProgInfo(DataModules &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FormProgInfo"));
    setWindowTitle(QStringLiteral("Programminfos bearbeiten ...."));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);
    DataSet *texts = dm.dmFirma->qrProgInfo;

    auto *bar = new RecordToolBar(texts, this);
    bar->setObjectName(QStringLiteral("piToolBar"));
    bar->addCloseButton(QStringLiteral("piTbutSchliessen"), QStringLiteral("S&chließen"));
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::reject);
    m_bar = bar;
    m_editing << bar->addNewButton(QStringLiteral("piTbutNeu"), QStringLiteral("&Neu"))
              << bar->addSaveButton(QStringLiteral("piTbutSpeichern"), QStringLiteral("&Speichern"))
              << bar->addCancelButton(QStringLiteral("piTbutAbbruch"), QStringLiteral("&Abbruch"))
              << bar->addDeleteButton(QStringLiteral("piTbutLoeschen"), QStringLiteral("&Löschen"),
                                      QStringLiteral("Soll dieser Datensatz gelöscht werden?"));
    Printout::offerPdf(bar->addButton(QStringLiteral("piTbutDrucken"), QStringLiteral("&Drucken"),
                                      Icons::standard(QStyle::SP_FileDialogContentsView), [this] { HelpPrintout::print(m_dm); }));

    auto *listBox = new QGroupBox(QStringLiteral("Liste"), this);
    m_search = new QLineEdit(listBox);
    m_search->setObjectName(QStringLiteral("piSuchen"));
    auto *all = new QPushButton(QStringLiteral("Ohne Filter"), listBox);
    all->setObjectName(QStringLiteral("piButOhneFilter"));
    all->setAutoDefault(false);
    auto *filter = new QPushButton(QStringLiteral("&Filtern"), listBox);
    filter->setObjectName(QStringLiteral("piButFiltern"));
    filter->setDefault(true);
    connect(filter, &QPushButton::clicked, this, [this, texts] {
        guarded([&] { HelpTexts::show(*texts, HelpTexts::filterSql(m_search->text()), texts->isReadOnly()); });
    });
    connect(all, &QPushButton::clicked, this,
            [texts] { guarded([&] { HelpTexts::show(*texts, HelpTexts::AllSql, texts->isReadOnly()); }); });
    auto *grid = new DbGrid(texts, {{QStringLiteral("Rubrik"), QStringLiteral("Rubrik"), 240}}, listBox);
    grid->setObjectName(QStringLiteral("piDbgListe"));
    grid->setReadOnly(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->horizontalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addWidget(filter);
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(new QLabel(QStringLiteral("Suchbegriff"), listBox));
    listLayout->addLayout(searchRow);
    listLayout->addLayout(buttons);
    listLayout->addWidget(grid, 1);

    auto *right = new QVBoxLayout;
    auto *heading = new DbEdit(texts, QStringLiteral("Rubrik"), this);
    heading->setObjectName(QStringLiteral("piDbeRubrik"));
    bar->setFirstInput(heading);
    right->addWidget(new QLabel(QStringLiteral("Rubrik"), this));
    right->addWidget(heading);
    auto *textBox = new QGroupBox(QStringLiteral("Text"), this);
    auto *text = new DbMemo(texts, QStringLiteral("Text"), textBox);
    text->setObjectName(QStringLiteral("piDbmText"));
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    (new QVBoxLayout(textBox))->addWidget(text);
    right->addWidget(textBox, 1);

    auto *body = new QHBoxLayout;
    body->addWidget(listBox, 2);
    body->addLayout(right, 3);
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("piStatus"));
    status->setSizeGripEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addLayout(body, 1);
    layout->addWidget(status);
    resize(820, 560);
}

void TFormProgInfo::showEvent(QShowEvent *event)
{
    // Opened to read, the window offers nothing that would only end in the read-only error.
    const bool readOnly = m_dm.dmFirma->qrProgInfo->isReadOnly();
    const QList<QAction *> actions = m_bar->actions();
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const auto *a = qobject_cast<QWidgetAction *>(actions.at(i));
        if (!a || !m_editing.contains(a->defaultWidget()))
            continue;
        actions.at(i)->setVisible(!readOnly);
        if (i > 0 && actions.at(i - 1)->isSeparator())
            actions.at(i - 1)->setVisible(!readOnly);
    }
    QDialog::showEvent(event);
}

void TFormProgInfo::setSearchText(const QString &text)
{
    m_search->setText(text);
    m_search->setFocus();
}

void TFormProgInfo::showReadOnly(DataModules &dm, const QString &keyword, QWidget *parent)
{
    guarded([&] {
        TFormProgInfo window(dm, parent);
        DataSet *texts = dm.dmFirma->qrProgInfo;
        HelpTexts::show(*texts, texts->sql().isEmpty() ? HelpTexts::AllSql : texts->sql(), true);
        window.setSearchText(keyword);
        window.exec();
    });
}

void TFormProgInfo::done(int result)
{
    // A text still being typed is dropped, not stored; the list shows all texts again.
    guarded([this] { HelpTexts::show(*m_dm.dmFirma->qrProgInfo, HelpTexts::AllSql, m_dm.dmFirma->qrProgInfo->isReadOnly()); });
    QDialog::done(result);
}
