// Start-up, page activation, the page guard and the administrative menu items.
#include "app/TFormMain.h"

#include "admin/TFormBuland.h"
#include "admin/TFormFirma.h"
#include "admin/TFormPasswort.h"
#include "admin/TFormUser.h"
#include "app/AppInfo.h"
#include "app/DatabaseFolder.h"
#include "app/TFormFortschritt.h"
#include "core/GermanFormat.h"
#include "core/SqlText.h"
#include "data/LockHolder.h"
#include "data/Backup.h"
#include "data/DataError.h"
#include "data/DataModules.h"
#include "data/FirstStartData.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/PageModule.h"

#include <QButtonGroup>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>

#include <algorithm>
#include <thread>

bool TFormMain::start()
{
    // Step 4: the database file beside the executable or in the user's data folder, or the
    // office's server as Finorra.ini says.
    if (!openDatabase())
        return false;

    // Steps 5–7.
    if (!guarded([this] {
            for (DataSet *ds : {m_dm.dmFirma->qrBuland, m_dm.dmFirma->qrPlzOrt, m_dm.dmFirma->qrProgInfo,
                                m_dm.dmFirma->qrFirma, m_dm.dmMP->qrUser})
                ds->open();
        }))
        return false;
    setWindowTitle(AppInfo::Title + QStringLiteral(" - [Home]"));
    {
        TFormPasswort login(m_dm, this);
        if (login.exec() != QDialog::Accepted)
            return false;
        AktSbKurz = login.aktSbKurz();
        AktSbLang = login.aktSbLang();
        AktSbTelefon = login.aktSbTelefon();
    }
    m_panels[1]->setText(QStringLiteral("  SB: [") + AktSbKurz + QStringLiteral("] ") + AktSbLang);
    // A colleague whose save waits for this program's lock is told who it is.
    LockHolder::setUser(AktSbLang.isEmpty() ? AktSbKurz : QStringLiteral("%1 (%2)").arg(AktSbKurz, AktSbLang));

    // Step 8: without an own address the start goes straight to the Home page.
    DataSet *firma = m_dm.dmFirma->qrFirma;
    if (firma->isEmpty()) {
        ShowMsg(QStringLiteral("Sie haben keine eigenen Adressdaten angelegt!\rÜber <Datei> <Globale Einstellungen> "
                               "<Eigene Anschrift> können Sie die Adressdaten festlegen."),
                mkWarning);
        m_panels[0]->setText(QStringLiteral("Achtung: Keine eigenen Adressdaten."));
        return true;
    }

    // Steps 9–14.
    m_panels[0]->setText(QStringLiteral("   ") + firma->asString(QStringLiteral("Suna")));
    showDatabaseLocation();
    guarded([this] { resetReportDirectories(); });
    guarded([this] { createDefaultRubrics(); });
    guarded([this] { ActivatePage(Home); });
    return true;
}

void TFormMain::resetReportDirectories()
{
    DataSet *firma = m_dm.dmFirma->qrFirma;
    const QString templates = m_exeDir + QStringLiteral("Reportvorlagen/");
    if (firma->asString(QStringLiteral("FReportIn")) == templates)
        return;
    if (!AskYesNo(QStringLiteral("Soll der Pfad für die Reportvorlagen neu gesetzt werden?"), mkWarning))
        return;
    const QList<QPair<QString, QString>> dirs = {{QStringLiteral("FReportIn"), templates},
                                                 {QStringLiteral("FReportOut"), DatabaseFolder::reportOutput(
                                                      DatabaseFolder::choose(m_exeDir), m_exeDir)}};
    for (const auto &[field, dir] : dirs) {
        if (QDir(dir).exists()) {
            firma->edit();
            firma->setValue(field, dir);
            firma->post();
        } else {
            ShowMsg(QStringLiteral("Verzeichnis ") + QDir::toNativeSeparators(dir) + QStringLiteral(" existiert nicht!")
                        + QStringLiteral("\r") + QStringLiteral("Überprüfen Sie die Einstellungen in <Eigene Anschrift>"),
                    mkWarning);
        }
    }
}

void TFormMain::createDefaultRubrics()
{
    DataSet *rubriken = m_dm.dmExtras->qrInfoRubrik;
    rubriken->reopen();
    if (rubriken->isEmpty()) {
        const QList<QPair<QString, QString>> defaults = {
            {QStringLiteral("Formulare"), m_exeDir + QStringLiteral("Infothek/Formulare/")},
            {QStringLiteral("Infothek"), m_exeDir + QStringLiteral("Infothek/Infothek/")},
            {QStringLiteral("Musterbriefe"), m_exeDir + QStringLiteral("Infothek/Musterbriefe/")}};
        for (const auto &[name, dir] : defaults) {
            if (QDir(dir).exists()) {
                rubriken->append();
                rubriken->setValue(QStringLiteral("Rubrik"), name);
                rubriken->setValue(QStringLiteral("Pfad"), dir);
                rubriken->post();
                FirstStartData::catalogueDocuments(m_dm.db, rubriken->value(QStringLiteral("Rubrik_id")), dir);
            } else {
                ShowMsg(QStringLiteral("Verzeichnis ") + QDir::toNativeSeparators(dir) + QStringLiteral(" existiert nicht!")
                            + QStringLiteral("\r") + QStringLiteral("Überprüfen Sie die Einstellungen in <Info-Rubrik>"),
                        mkWarning);
            }
        }
    }
    rubriken->close();
}

bool TFormMain::leaveCurrentPage()
{
    PageModule *current = module(currentPage());
    return !current || !m_built.at(currentPage()) || current->leave();
}

void TFormMain::markCurrent(int node)
{
    if (QAbstractButton *b = m_pageButtons->button(node))
        b->setChecked(true);
    m_activating = true;
    m_tree->setCurrentItem(m_tree->topLevelItem(node));
    m_activating = false;
}

bool TFormMain::ActivatePage(int node)
{
    PageModule *target = module(node);
    if (!target)
        return false;
    if (!leaveCurrentPage())
        return false;
    ensurePage(node);
    target->activate();
    setWindowTitle(AppInfo::Title + QStringLiteral(" - [") + target->info().title + u']');
    m_pages->setCurrentIndex(node);
    markCurrent(node);
    return true;
}

void TFormMain::pageButtonClicked(int node)
{
    // The modules' pending rows are posted in the guard's order; when any was, the page
    // stays with its edits saved, and a second click switches.
    bool posted = false;
    bool stay = false;
    guarded([&] {
        std::vector<PageModule *> order;
        for (const auto &m : m_modules)
            order.push_back(m.get());
        std::stable_sort(order.begin(), order.end(),
                         [](const PageModule *a, const PageModule *b) { return a->info().guardRank < b->info().guardRank; });
        for (PageModule *m : order) {
            if (!m->hasPending())
                continue;
            posted = true;
            if (!m->leave())
                break;
        }
        stay = posted;
    });
    if (posted || stay) {
        markCurrent(currentPage());
        return;
    }
    bool switched = false;
    guarded([&] { switched = ActivatePage(node); });
    if (!switched)
        markCurrent(currentPage());
}

void TFormMain::openOwnAddress()
{
    TFormFirma window(m_dm, m_exeDir, this);
    window.exec();
}

void TFormMain::openUsers()
{
    m_dm.dmMP->qrUser->reopen();
    TFormUser window(m_dm, this);
    window.exec();
    if (window.programMustEnd())
        endProgram();
}

void TFormMain::openFederalStates()
{
    TFormBuland window(m_dm, this);
    window.exec();
}

void TFormMain::reorganize()
{
    if (!AskYesNo(QStringLiteral("Soll die Datenbank reorganisiert werden?"), mkWarning))
        return;
    // The connection closes for the rebuild: what was typed on the page is saved first.
    if (!leaveCurrentPage())
        return;
    if (m_dm.db.onServer()) {
        // The server reorganises in place; nobody has to leave the program for it.
        TFormFortschritt progress(QStringLiteral("Die Datenbank wird reorganisiert..."), this);
        progress.show();
        m_dm.db.vacuumServer();
        ShowMsg(QStringLiteral("Die Datenbank wurde erfolgreich reorganisiert."), mkInfo);
        return;
    }
    Backup::write(m_dm.db);
    const QString path = m_dm.db.filePath();
    m_dm.db.close();

    // The rebuild runs beside the event loop so the progress bar keeps moving.
    QString failure;
    {
        TFormFortschritt progress(QStringLiteral("Die Datenbank wird reorganisiert..."), this);
        progress.show();
        QEventLoop loop;
        std::thread worker([&] {
            // Nothing may escape the worker: an exception there would end the program.
            try {
                Database::rebuild(path);
            } catch (const AppError &e) {
                failure = e.message();
            } catch (const std::exception &e) {
                failure = QStringLiteral("Die Reorganisation ist fehlgeschlagen: %1").arg(QString::fromLocal8Bit(e.what()));
            } catch (...) {
                failure = QStringLiteral("Die Reorganisation ist aus unbekanntem Grund fehlgeschlagen.");
            }
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        worker.join();
    }

    if (failure.isEmpty())
        ShowMsg(QStringLiteral("Die Datenbank wurde erfolgreich reorganisiert.\rDas Programm muss neu gestartet werden."),
                mkInfo);
    else
        ShowMsg(failure + QStringLiteral("\rDas Programm muss neu gestartet werden."), mkError);
    guarded([&] { m_dm.db.open(DatabaseFolder::choose(m_exeDir).folder); });
    endProgram();
}
