#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <vector>

class DataModules;
class DataSet;
class PageModule;
class QButtonGroup;
class QLabel;
class QStackedWidget;
class QTreeWidget;

// The program's only top-level window: navigation tree, eight pages shown by buttons,
// the main menu and the status bar. It holds the logged-in user and runs the start-up.
class TFormMain : public QMainWindow
{
    Q_OBJECT
public:
    enum Node { Home = 0, Budget, Haushaltsbuch, Kontakte, Briefe, Pfaendung, Infothek, Termine };

    // `exeDir` is the executable's folder with a trailing '/'.
    TFormMain(DataModules &dm, const QString &exeDir, QWidget *parent = nullptr);
    ~TFormMain() override;

    // Connects the database, logs the user in and prepares the window (start steps 4–14).
    // False when the program must end (no database, login cancelled).
    bool start();

    // Leaves the current page (its pending rows are posted through their rules), then
    // reloads the page's data sets, sets the title, shows the page and marks the tree node
    // and the page button. False when leaving was refused: the current page stays.
    // Throws the refusal's error.
    bool ActivatePage(int node);
    // A page button: pending records are posted first; when any was, the page stays.
    void pageButtonClicked(int node);
    int currentPage() const;
    PageModule *module(int node) const;
    // The page's widget once it has been entered (pages are built on first entry).
    QWidget *pageWidget(int node) const;

    // The database reorganisation of the "Optionen" menu.
    void reorganize();
    // "Datei > Datensicherung erstellen / zurückspielen…" (file only) and "Optionen > Datenbank…".
    void createBackup();
    void restoreBackup();
    void chooseDatabase();

    // Starts the program anew (after a restore); tests put a recorder in its place.
    static void setRestarter(std::function<void()> restarter);

    // Ends the program without the exit question (after user changes, reorganisation).
    void endProgram();
    bool programEnded() const { return m_ended; }

    QString AktSbKurz, AktSbLang, AktSbTelefon;
    // Today's long date as shown on the appointments page; the heading of its printout.
    QString terminHeading;

    DataModules &dataModules() const { return m_dm; }
    const QString &exeDir() const { return m_exeDir; }

    // Wires a menu item whose window a module provides (by the item's object name).
    void setMenuHandler(const QString &actionName, std::function<void()> handler);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildPages();
    void buildTree();
    void buildMenu();
    void buildStatusBar();
    void resetReportDirectories();
    void createDefaultRubrics();
    QWidget *ensurePage(int node);
    bool leaveCurrentPage();
    void markCurrent(int node);
    void runModuleItem(const QString &actionName);
    void openOwnAddress();
    void openUsers();
    void openFederalStates();
    bool openDatabase();
    void showDatabaseLocation();
    void backupAtEnd();
    void restart();

    DataModules &m_dm;
    QString m_exeDir;
    QTreeWidget *m_tree = nullptr;
    QStackedWidget *m_pages = nullptr;
    QButtonGroup *m_pageButtons = nullptr;
    std::vector<std::unique_ptr<PageModule>> m_modules;   // index = node
    QList<QWidget *> m_built;                              // null until first entry
    QLabel *m_panels[3] = {nullptr, nullptr, nullptr};
    QHash<QString, std::function<void()>> m_menuHandlers;
    bool m_ended = false;
    bool m_firstShow = true;
    bool m_activating = false;
};
