#include "app/TFormMain.h"

#include "app/AppInfo.h"
#include "app/HomePage.h"
#include "app/ModulePage.h"
#include "app/TFormAbout.h"
#include "budget/BudgetPage.h"
#include "budget/rules/BudgetHandlers.h"
#include "data/DataModules.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct PageInfo
{
    const char *object;
    const char *node;      // tree text
    const char *button;    // page button caption
    const char *title;     // window title part and page heading
};

const PageInfo kPages[8] = {
    {"tbsHome", "Home", "Home", "Home"},
    {"tbsBudget", "Budget", "Budget", "Budgetplanung"},
    {"tbsHhbuch", "Haushaltsbuch", "HH-Buch", "Haushaltsbuch"},
    {"tbsKontakte", "Kontakte", "Kontakte", "Kontaktverwaltung"},
    {"tbsBriefe", "Briefe", "Briefe", "Schriftwechsel"},
    {"tbsPfaendung", "Pfändung", "Pfändung", "Pfändungstabelle"},
    {"tbsInfothek", "Infothek", "Infothek", "Infothek"},
    {"tbsAufgaben", "Termine", "Termine", "Aufgaben-/Terminverwaltung"},
};

} // namespace

QString TFormMain::pageTitle(int node)
{
    return node >= 0 && node < 8 ? QString::fromUtf8(kPages[node].title) : QString();
}

TFormMain::TFormMain(DataModules &dm, const QString &exeDir, QWidget *parent)
    : QMainWindow(parent), m_dm(dm), m_exeDir(exeDir)
{
    setObjectName(QStringLiteral("TFormMain"));
    setWindowTitle(AppInfo::Title + QStringLiteral(" - [Home]"));
    resize(1180, 780);
    // The rules of the modules hold whatever window edits their tables.
    if (!m_dm.dmHh->findChild<BudgetHandlers *>())
        new BudgetHandlers(*m_dm.dmHh, *m_dm.dmMP);
    buildPages();
    buildTree();
    buildMenu();
    buildStatusBar();
}

TFormMain::~TFormMain() = default;

void TFormMain::buildPages()
{
    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);

    // The pages are reached by buttons, not tabs.
    auto *buttonBar = new QWidget(right);
    buttonBar->setObjectName(QStringLiteral("pgMainButtons"));
    auto *buttons = new QHBoxLayout(buttonBar);
    buttons->setContentsMargins(8, 6, 8, 6);
    buttons->setSpacing(4);
    m_pageButtons = new QButtonGroup(this);
    m_pageButtons->setExclusive(true);

    m_pages = new QStackedWidget(right);
    m_pages->setObjectName(QStringLiteral("pgMain"));
    for (int node = 0; node < 8; ++node) {
        const PageInfo &info = kPages[node];
        auto *b = new QPushButton(QString::fromUtf8(info.button), buttonBar);
        b->setObjectName(QStringLiteral("btn") + QString::fromUtf8(info.object));
        b->setCheckable(true);
        b->setMinimumWidth(92);
        b->setFocusPolicy(Qt::TabFocus);
        m_pageButtons->addButton(b, node);
        buttons->addWidget(b);
        if (node == Home) {
            m_home = new HomePage(m_pages);
            m_home->setObjectName(QString::fromUtf8(info.object));
            m_pages->addWidget(m_home);
        } else {
            auto *page = new ModulePage(QString::fromUtf8(info.object), QString::fromUtf8(info.title), m_pages);
            m_modulePages.append(page);
            m_pages->addWidget(page);
        }
    }
    buttons->addStretch();
    connect(m_pageButtons, &QButtonGroup::idClicked, this, &TFormMain::pageButtonClicked);

    page(Budget)->body()->setContentsMargins(0, 0, 0, 0);
    page(Budget)->body()->addWidget(new BudgetPage(m_dm, page(Budget)));

    // The appointments page shows today's date and a month calendar from the start.
    ModulePage *termine = page(Termine);
    m_auflbDatum = new QLabel(termine);
    m_auflbDatum->setObjectName(QStringLiteral("auflbDatum"));
    QFont f = m_auflbDatum->font();
    f.setBold(true);
    m_auflbDatum->setFont(f);
    m_mc01 = new QCalendarWidget(termine);
    m_mc01->setObjectName(QStringLiteral("mc01"));
    m_mc01->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    m_mc01->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_mc01->setMaximumSize(320, 240);
    termine->body()->addWidget(m_auflbDatum);
    termine->body()->addWidget(m_mc01, 0, Qt::AlignLeft);
    termine->body()->addStretch();

    rightLayout->addWidget(buttonBar);
    rightLayout->addWidget(m_pages, 1);

    auto *splitter = new QSplitter(this);
    m_tree = new QTreeWidget(splitter);
    splitter->addWidget(m_tree);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({170, 1000});
    setCentralWidget(splitter);
}

void TFormMain::buildTree()
{
    m_tree->setObjectName(QStringLiteral("tvMain"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setMinimumWidth(150);
    m_tree->setStyleSheet(QStringLiteral("QTreeWidget::item { padding: 4px 6px; }"));
    for (const PageInfo &info : kPages)
        m_tree->addTopLevelItem(new QTreeWidgetItem({QString::fromUtf8(info.node)}));
    // Selecting a node switches at once, matched by the node's text.
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        if (m_activating)
            return;
        for (int node = 0; node < 8; ++node)
            if (item->text(0) == QString::fromUtf8(kPages[node].node))
                guarded([&] { ActivatePage(node); });
    });
}

void TFormMain::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto add = [this](QMenu *menu, const char *name, const QString &text, std::function<void()> action) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [action] { guarded(action); });
        return a;
    };

    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("mnDatei"));
    QMenu *global = datei->addMenu(QStringLiteral("&Globale Einstellungen"));
    global->setObjectName(QStringLiteral("mnGlobaleEinstellungen"));
    add(global, "miDatenbank", QStringLiteral("&Datenbank"),
        [] { ShowMsg(QStringLiteral("Dieses Modul wurde noch nicht programmiert!"), mkWarning); });
    global->addSeparator();
    add(global, "miEigeneAnschrift", QStringLiteral("Eigene Anschrift"), [this] {
        if (AskYesNo(QStringLiteral("Möchten Sie die eigene Anschrift wirklich ändern?"), mkWarning))
            openOwnAddress();
    });
    add(global, "miBenutzer", QStringLiteral("Benutzer"), [this] {
        if (AskYesNo(QStringLiteral("Möchten Sie die Benutzerdaten wirklich ändern?"), mkWarning))
            openUsers();
    });
    global->addSeparator();
    add(global, "miBundesland", QStringLiteral("Bundesland"), [this] {
        if (AskYesNo(QStringLiteral("Möchten Sie die Bundesländer wirklich ändern?"), mkWarning))
            openFederalStates();
    });
    global->addSeparator();
    add(global, "miInfoRubrik", QStringLiteral("Infothek- Rubrik"), [this] {
        if (AskYesNo(QStringLiteral("Möchten Sie die Infothek-Rubriken wirklich ändern?"), mkWarning)) {
            m_dm.dmExtras->qrInfos->close();
            runModuleItem(QStringLiteral("miInfoRubrik"));
        }
    });
    global->addSeparator();
    add(global, "miPfandGrunddaten", QStringLiteral("Pfaendung-Grunddaten"), [this] {
        if (AskYesNo(QStringLiteral("Möchten Sie die Pfändungsgrunddaten wirklich ändern?"), mkWarning))
            runModuleItem(QStringLiteral("miPfandGrunddaten"));
    });
    datei->addSeparator();
    add(datei, "miProgrammende", QStringLiteral("&Programmende"), [this] { close(); });

    QMenu *module = bar->addMenu(QStringLiteral("&Module"));
    module->setObjectName(QStringLiteral("mnModule"));
    const QList<QPair<const char *, QPair<QString, int>>> modules = {
        {"miBudget", {QStringLiteral("&Budget"), Budget}},
        {"miHaushaltsbuch", {QStringLiteral("&Haushaltsbuch"), Haushaltsbuch}},
        {"miKontakte", {QStringLiteral("&Kontakte"), Kontakte}},
        {"miBriefe", {QStringLiteral("B&riefe"), Briefe}},
        {"miInfothek", {QStringLiteral("&Infothek"), Infothek}},
        {"miPfaendung", {QStringLiteral("&Pfändung"), Pfaendung}},
        {"miAufgaben", {QStringLiteral("&Aufgaben"), Termine}}};
    for (const auto &[name, item] : modules) {
        const int node = item.second;
        add(module, name, item.first, [this, node] { ActivatePage(node); });
    }

    QMenu *extras = bar->addMenu(QStringLiteral("&Extras"));
    extras->setObjectName(QStringLiteral("mnExtras"));
    add(extras, "miPfaendungstabelle", QStringLiteral("&Pfaendungstabelle"), [this] { ActivatePage(Pfaendung); });

    QMenu *optionen = bar->addMenu(QStringLiteral("&Optionen"));
    optionen->setObjectName(QStringLiteral("mnOptionen"));
    add(optionen, "miReorganisieren", QStringLiteral("&Datenbank reorganisieren"), [this] { reorganize(); });

    QMenu *hilfe = bar->addMenu(QStringLiteral("&Hilfe"));
    hilfe->setObjectName(QStringLiteral("mnHilfe"));
    add(hilfe, "miProgramminfo", QStringLiteral("Programminfo"), [this] {
        TFormAbout about(this);
        about.exec();
    });
    hilfe->addSeparator();
    add(hilfe, "miHilfe", QStringLiteral("Hilfe"), [this] { runModuleItem(QStringLiteral("miHilfe")); });
}

void TFormMain::runModuleItem(const QString &actionName)
{
    // Items whose windows come with their modules; until a module wires its handler the
    // item says so instead of doing nothing.
    if (auto it = m_menuHandlers.constFind(actionName); it != m_menuHandlers.cend())
        it.value()();
    else
        ShowMsg(QStringLiteral("Dieses Modul wurde noch nicht programmiert!"), mkWarning);
}

void TFormMain::setMenuHandler(const QString &actionName, std::function<void()> handler)
{
    m_menuHandlers.insert(actionName, std::move(handler));
}

void TFormMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("stbFm"));
    bar->setSizeGripEnabled(true);
    const int widths[3] = {300, 250, 300};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("stbFmPanel%1").arg(i));
        m_panels[i]->setFixedWidth(widths[i]);
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(m_panels[i]);
    }
}

ModulePage *TFormMain::page(int node) const
{
    return node >= 1 && node <= m_modulePages.size() ? m_modulePages.at(node - 1) : nullptr;
}

int TFormMain::currentPage() const
{
    return m_pages->currentIndex();
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (m_ended || AskYesNo(QStringLiteral("Möchten Sie das Programm beenden?"), mkWarning)) {
        m_ended = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void TFormMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        m_tree->setFocus();
        m_tree->setCurrentItem(m_tree->topLevelItem(Home));
    }
}

void TFormMain::endProgram()
{
    m_ended = true;
    close();
}
