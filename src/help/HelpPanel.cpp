#include "help/HelpPanel.h"

#include "data/DataModules.h"
#include "help/HelpPrintout.h"
#include "help/TFormProgInfo.h"
#include "help/rules/HelpTexts.h"
#include "ui/DbGrid.h"
#include "ui/DbMemo.h"
#include "ui/Guard.h"
#include "ui/Printout.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

HelpPanel::HelpPanel(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("helpPanel"));
    DataSet *texts = dm.dmFirma->qrProgInfo;

    m_toggle = new QPushButton(QStringLiteral("Hilfe aufrufen"), this);
    m_toggle->setObjectName(QStringLiteral("btnHilfe"));
    m_toggle->setMinimumHeight(m_toggle->sizeHint().height() + 6);
    connect(m_toggle, &QPushButton::clicked, this, &HelpPanel::toggle);

    m_panel = new QGroupBox(QStringLiteral("Bedienungshinweise"), this);
    m_panel->setObjectName(QStringLiteral("gbBedienungshinweise"));
    m_panel->hide();
    m_search = new QLineEdit(m_panel);
    m_search->setObjectName(QStringLiteral("eHilfeSuchen"));
    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, m_panel);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *go = button("btnHilfeGo", QStringLiteral("Suchen"));
    QPushButton *all = button("btnHilfeOhneFilter", QStringLiteral("Ohne Filter"));
    QPushButton *print = button("btnHilfeAusdruck", QStringLiteral("Ausdruck"));
    QPushButton *edit = button("btnHilfeBearbeiten", QStringLiteral("Bearbeiten"));
    connect(m_search, &QLineEdit::returnPressed, go, &QPushButton::click);
    connect(go, &QPushButton::clicked, this, [this, texts] {
        guarded([&] { HelpTexts::show(*texts, HelpTexts::filterSql(m_search->text()), texts->isReadOnly()); });
        m_search->setFocus();
    });
    connect(all, &QPushButton::clicked, this,
            [texts] { guarded([&] { HelpTexts::show(*texts, HelpTexts::AllSql, texts->isReadOnly()); }); });
    connect(print, &QPushButton::clicked, this, [this] { guarded([this] { HelpPrintout::print(m_dm); }); });
    Printout::offerPdf(print);
    connect(edit, &QPushButton::clicked, this, [this, texts] {
        if (!guarded([&] { HelpTexts::show(*texts, texts->sql().isEmpty() ? HelpTexts::AllSql : texts->sql(), false); }))
            return;
        TFormProgInfo window(m_dm, this->window());
        window.exec();
    });

    auto *list = new DbGrid(texts, {{QStringLiteral("Rubrik"), QStringLiteral("Rubrik"), 260}}, m_panel);
    list->setObjectName(QStringLiteral("dbgHilfe"));
    list->setReadOnly(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->horizontalHeader()->hide();
    list->horizontalHeader()->setStretchLastSection(true);
    auto *textBox = new QGroupBox(QStringLiteral("Programminfo"), m_panel);
    auto *text = new DbMemo(texts, QStringLiteral("Text"), textBox);
    text->setObjectName(QStringLiteral("dbmHilfeText"));
    (new QVBoxLayout(textBox))->addWidget(text);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Suchbegriff"), m_panel));
    searchRow->addWidget(m_search, 1);
    for (QPushButton *b : {go, all, print, edit})
        searchRow->addWidget(b);
    auto *lists = new QHBoxLayout;
    lists->addWidget(list, 2);
    lists->addWidget(textBox, 3);
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->addLayout(searchRow);
    panelLayout->addLayout(lists, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toggle);
    layout->addWidget(m_panel, 1);
    layout->addStretch();
}

void HelpPanel::toggle()
{
    const bool show = m_panel->isHidden();
    if (show) {
        DataSet *texts = m_dm.dmFirma->qrProgInfo;
        if (!texts->isOpen())
            guarded([texts] { texts->open(); });
    }
    m_panel->setVisible(show);
    m_toggle->setText(show ? QStringLiteral("Hilfe verbergen") : QStringLiteral("Hilfe aufrufen"));
    if (show)
        m_search->setFocus();
}
