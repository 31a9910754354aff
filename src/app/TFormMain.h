#pragma once

#include <QMainWindow>

#include <functional>

class DataModules;
class DataSet;
class QButtonGroup;
class QCalendarWidget;
class QLabel;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class HomePage;
class ModulePage;

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

    // Reloads the page's data sets, sets the title, shows the page and marks the tree node.
    void ActivatePage(int node);
    // A page button: pending records are posted first; when any was, the page stays.
    void pageButtonClicked(int node);
    int currentPage() const;
    static QString pageTitle(int node);

    // The database reorganisation of the "Optionen" menu.
    void reorganize();

    // Ends the program without the exit question (after user changes, reorganisation).
    void endProgram();
    bool programEnded() const { return m_ended; }

    QString AktSbKurz, AktSbLang, AktSbTelefon;
    // Today's long date as shown on the appointments page; the heading of its printout.
    QString terminHeading;

    DataModules &dataModules() const { return m_dm; }
    const QString &exeDir() const { return m_exeDir; }
    ModulePage *page(int node) const;
    HomePage *homePage() const { return m_home; }

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
    void reloadPage(int node);
    void enterTermine();
    void runModuleItem(const QString &actionName);
    void openOwnAddress();
    void openUsers();
    void openFederalStates();

    DataModules &m_dm;
    QString m_exeDir;
    QTreeWidget *m_tree = nullptr;
    QStackedWidget *m_pages = nullptr;
    QButtonGroup *m_pageButtons = nullptr;
    HomePage *m_home = nullptr;
    QList<ModulePage *> m_modulePages;   // index = node - 1
    QLabel *m_panels[3] = {nullptr, nullptr, nullptr};
    QLabel *m_auflbDatum = nullptr;
    QCalendarWidget *m_mc01 = nullptr;
    QHash<QString, std::function<void()>> m_menuHandlers;
    bool m_ended = false;
    bool m_firstShow = true;
    bool m_activating = false;
};
