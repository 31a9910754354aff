#include "letters/TFormTbau.h"

#include "data/DataModules.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbMemo.h"
#include "ui/DbNavigator.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

bool mark = false;

} // namespace

bool TFormTbau::takenOver()
{
    return mark;
}

TFormTbau::TFormTbau(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FormTbau"));
    setWindowTitle(QStringLiteral("Textbausteine"));
    DataSet *modules = dm.dmSchrift->qrTbau;
    setPostOnClose(modules);

    auto *bar = new RecordToolBar(modules, this);
    bar->setObjectName(QStringLiteral("tbToolBar"));
    bar->addButton(QStringLiteral("tbTbutUebernehmen"), QStringLiteral("&Übernehmen"),
                   Icons::standard(QStyle::SP_DialogApplyButton), [this] {
                       mark = true;
                       close();
                   });
    bar->addButton(QStringLiteral("tbTbutOhne"), QStringLiteral("&Ohne Übernahme"),
                   Icons::standard(QStyle::SP_DialogCloseButton), [this] {
                       mark = false;
                       close();
                   });
    bar->setBeforeNew([this] { m_tabs->setCurrentIndex(0); });
    bar->addNewButton(QStringLiteral("tbTbutNeu"), QStringLiteral("&Neu"), RecordToolBar::NewMode::Insert);
    bar->addSaveButton(QStringLiteral("tbTbutSpeichern"), QStringLiteral("&Speichern"));
    bar->addCancelButton(QStringLiteral("tbTbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("tbTbutLoeschen"), QStringLiteral("Löschen"), QStringLiteral("Datensatz löschen?"));

    auto *listBox = new QGroupBox(QStringLiteral("Liste"), this);
    auto *grid = new DbGrid(modules, {{QStringLiteral("TKurz"), QStringLiteral("Kürzel"), 110},
                                      {QStringLiteral("TTitel"), QStringLiteral("Titel"), 260}},
                            listBox);
    grid->setObjectName(QStringLiteral("tbdbgListe"));
    grid->setReadOnly(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->horizontalHeader()->hide();
    (new QVBoxLayout(listBox))->addWidget(grid);

    auto *searchBox = new QGroupBox(QStringLiteral("Suchen"), this);
    auto *searchLayout = new QVBoxLayout(searchBox);
    auto *searchText = new QLineEdit(searchBox);
    searchText->setObjectName(QStringLiteral("tbeSuchen"));
    connect(searchText, &QLineEdit::textChanged, this, &TFormTbau::search);
    auto *navigator = new DbNavigator(modules, searchBox);
    navigator->setObjectName(QStringLiteral("tbNavigator"));
    navigator->firstButton()->hide();
    navigator->lastButton()->hide();
    searchLayout->addWidget(new QLabel(QStringLiteral("Suchbegriff"), searchBox));
    searchLayout->addWidget(searchText);
    searchLayout->addWidget(navigator, 0, Qt::AlignLeft);
    searchLayout->addStretch(1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tbTabs"));
    auto *details = new QWidget(m_tabs);
    auto *form = new QFormLayout;
    auto *kurz = new DbEdit(modules, QStringLiteral("TKurz"), details);
    kurz->setObjectName(QStringLiteral("tbdbeKurz"));
    auto *titel = new DbEdit(modules, QStringLiteral("TTitel"), details);
    titel->setObjectName(QStringLiteral("tbdbeTitel"));
    form->addRow(QStringLiteral("Kürzel :"), kurz);
    form->addRow(QStringLiteral("Textbau - Titel :"), titel);
    auto *textBox = new QGroupBox(QStringLiteral("Text"), details);
    auto *text = new DbMemo(modules, QStringLiteral("TText"), textBox);
    text->setObjectName(QStringLiteral("tbdbmText"));
    (new QVBoxLayout(textBox))->addWidget(text);
    auto *detailsLayout = new QVBoxLayout(details);
    detailsLayout->addLayout(form);
    detailsLayout->addWidget(textBox, 1);
    m_tabs->addTab(details, QStringLiteral("Details"));
    bar->setFirstInput(kurz);

    auto *top = new QHBoxLayout;
    top->addWidget(listBox, 3);
    top->addWidget(searchBox, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addLayout(top, 1);
    layout->addWidget(m_tabs, 1);
    resize(720, 560);
    searchText->setFocus();
}

void TFormTbau::search(const QString &text)
{
    DataSet *modules = m_dm.dmSchrift->qrTbau;
    if (!modules->isOpen() || text.isEmpty())
        return;
    const int column = modules->fieldIndex(QStringLiteral("TKurz"));
    const int rows = modules->recordCount();
    for (int r = 0; r < rows; ++r) {
        if (modules->valueAt(r, column).toString().startsWith(text, Qt::CaseInsensitive)) {
            modules->moveTo(r);
            return;
        }
    }
}
