#include "app/TFormMain.h"

#include "app/AppInfo.h"
#include "app/ModulePage.h"
#include "app/PageModules.h"
#include "app/TFormAbout.h"
#include "data/DataModules.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/PageModule.h"
#include "ui/PrintoutSettings.h"

#include <QButtonGroup>
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

TFormMain::TFormMain(DataModules &dm, const QString &exeDir, QWidget *parent)
    : QMainWindow(parent), m_dm(dm), m_exeDir(exeDir)
{
    setObjectName(QStringLiteral("TFormMain"));
    setWindowTitle(AppInfo::Title + QStringLiteral(" - [Home]"));
    resize(1180, 780);
    // Creating the modules installs their rules, which hold whatever window edits their tables.
    m_modules = createPageModules(*this);
    for (const auto &module : m_modules)
        for (const auto &[action, handler] : module->menuHandlers())
            m_menuHandlers.insert(action, handler);
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

    // Each page is built when it is first entered; until then an empty stand-in holds its place.
    m_pages = new QStackedWidget(right);
    m_pages->setObjectName(QStringLiteral("pgMain"));
    for (int node = 0; node < static_cast<int>(m_modules.size()); ++node) {
        const PageModule::Info &info = m_modules.at(node)->info();
        auto *b = new QPushButton(info.buttonText, buttonBar);
        b->setObjectName(QStringLiteral("btn") + info.objectName);
        b->setCheckable(true);
        b->setMinimumWidth(92);
        b->setFocusPolicy(Qt::TabFocus);
        m_pageButtons->addButton(b, node);
        buttons->addWidget(b);
        m_pages->addWidget(new QWidget(m_pages));
        m_built.append(nullptr);
    }
    buttons->addStretch();
    connect(m_pageButtons, &QButtonGroup::idClicked, this, &TFormMain::pageButtonClicked);

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

QWidget *TFormMain::ensurePage(int node)
{
    if (QWidget *built = m_built.at(node))
        return built;
    PageModule *module = m_modules.at(node).get();
    const PageModule::Info &info = module->info();
    QWidget *page = nullptr;
    if (info.framed) {
        auto *frame = new ModulePage(info.objectName, info.title, m_pages);
        frame->body()->setContentsMargins(0, 0, 0, 0);
        frame->body()->addWidget(module->createPage(frame));
        page = frame;
    } else {
        page = module->createPage(m_pages);
        page->setObjectName(info.objectName);
    }
    QWidget *standIn = m_pages->widget(node);
    m_pages->insertWidget(node, page);
    m_pages->removeWidget(standIn);
    standIn->deleteLater();
    m_built[node] = page;
    return page;
}

void TFormMain::buildTree()
{
    m_tree->setObjectName(QStringLiteral("tvMain"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setMinimumWidth(150);
    m_tree->setStyleSheet(QStringLiteral("QTreeWidget::item { padding: 4px 6px; }"));
    for (const auto &module : m_modules)
        m_tree->addTopLevelItem(new QTreeWidgetItem({module->info().nodeText}));
    // Selecting a node switches at once, matched by the node's text. When leaving the page
    // is refused, the node of the page that stays is marked again.
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (!item || m_activating)
            return;
        for (int node = 0; node < static_cast<int>(m_modules.size()); ++node) {
            if (item->text(0) != m_modules.at(node)->info().nodeText)
                continue;
            bool switched = false;
            guarded([&] { switched = ActivatePage(node); });
            if (!switched)
                markCurrent(currentPage());
        }
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
    add(global, "miDatenbank", QStringLiteral("&Datenbank"), [this] { chooseDatabase(); });
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
            // A document being edited is stored, not dropped by the closing.
            // Before the Infothek page was first shown the list is not open yet.
            DataSet *documents = m_dm.dmExtras->qrInfos;
            if (!guarded([documents] { documents->checkBrowseMode(); }))
                return;
            documents->close();
            runModuleItem(QStringLiteral("miInfoRubrik"));
        }
    });
    global->addSeparator();
    add(global, "miPfandGrunddaten", QStringLiteral("Pfändung-Grunddaten"), [this] {
        if (AskYesNo(QStringLiteral("Möchten Sie die Pfändungsgrunddaten wirklich ändern?"), mkWarning))
            runModuleItem(QStringLiteral("miPfandGrunddaten"));
    });
    datei->addSeparator();
    add(datei, "miSicherungErstellen", QStringLiteral("Datensicherung &erstellen"), [this] { createBackup(); });
    add(datei, "miSicherungZurueckspielen", QStringLiteral("Datensicherung &zurückspielen..."), [this] { restoreBackup(); });
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
    add(extras, "miPfaendungstabelle", QStringLiteral("&Pfändungstabelle"), [this] { ActivatePage(Pfaendung); });

    QMenu *optionen = bar->addMenu(QStringLiteral("&Optionen"));
    optionen->setObjectName(QStringLiteral("mnOptionen"));
    add(optionen, "miReorganisieren", QStringLiteral("&Datenbank reorganisieren"), [this] { reorganize(); });
    add(optionen, "miDatenbankWahl", QStringLiteral("Daten&bank..."), [this] { chooseDatabase(); });
    optionen->addSeparator();
    // A choice of the logged-in user, kept per user on this computer.
    QAction *pdf = optionen->addAction(QStringLiteral("Ausdrucke als &PDF"));
    pdf->setObjectName(QStringLiteral("miAusdruckeAlsPdf"));
    pdf->setCheckable(true);
    connect(optionen, &QMenu::aboutToShow, pdf, [this, pdf] {
        pdf->setEnabled(!AktSbKurz.isEmpty());
        pdf->setChecked(PrintoutSettings::pdf(AktSbKurz));
    });
    connect(pdf, &QAction::triggered, this, [this](bool on) { PrintoutSettings::setPdf(AktSbKurz, on); });

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

PageModule *TFormMain::module(int node) const
{
    return node >= 0 && node < static_cast<int>(m_modules.size()) ? m_modules.at(node).get() : nullptr;
}

QWidget *TFormMain::pageWidget(int node) const
{
    return node >= 0 && node < m_built.size() ? m_built.at(node) : nullptr;
}

int TFormMain::currentPage() const
{
    return m_pages->currentIndex();
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    // What was typed on the page is saved before the program ends; a refusal keeps it open.
    bool left = false;
    if (AskYesNo(QStringLiteral("Möchten Sie das Programm beenden?"), mkWarning))
        guarded([&] { left = leaveCurrentPage(); });
    if (left) {
        m_ended = true;
        backupAtEnd();
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
        if (!m_built.at(currentPage()))
            guarded([this] { ActivatePage(Home); });
        markCurrent(currentPage());
    }
}

void TFormMain::endProgram()
{
    m_ended = true;
    close();
}
