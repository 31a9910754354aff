// The database of the main window: opening it (file or server), backups and the choice.
#include "app/TFormMain.h"

#include "app/DatabaseFolder.h"
#include "app/TFormDatenbank.h"
#include "app/TFormFortschritt.h"
#include "data/Backup.h"
#include "data/DataError.h"
#include "data/DataModules.h"
#include "data/DatabaseConfig.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>

namespace {

std::function<void()> &restarter()
{
    static std::function<void()> r = [] {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    };
    return r;
}

const QString ServerBackupNote = QStringLiteral("Die Datenbank liegt auf einem PostgreSQL-Server; ihre Sicherung ist "
                                                "Sache der Serververwaltung.");

} // namespace

void TFormMain::setRestarter(std::function<void()> r)
{
    restarter() = std::move(r);
}

void TFormMain::restart()
{
    restarter()();
    endProgram();
}

bool TFormMain::openDatabase()
{
    const DatabaseConfig::Choice config = DatabaseConfig::load(m_exeDir + DatabaseConfig::FileName);
    try {
        if (!config.server) {
            const DatabaseFolder::Choice dbFolder = DatabaseFolder::choose(m_exeDir);
            if (dbFolder.fellBack)
                m_panels[2]->setToolTip(DatabaseFolder::fallbackNote(m_exeDir));
            m_dm.db.open(dbFolder.folder);
            return true;
        }
        // The password comes from ~/.pgpass where there is one; otherwise it is asked for.
        ServerSettings settings = config.settings;
        for (;;) {
            try {
                m_dm.db.openServer(settings);
                break;
            } catch (const PasswordRequired &e) {
                QString password;
                if (!settings.password.isEmpty())
                    ShowMsg(e.message(), mkError);
                if (!Dialogs::instance().passwordBox(QStringLiteral("Anmeldung am Datenbankserver"),
                                                     QStringLiteral("Kennwort des Benutzers \"%1\" für %2:")
                                                         .arg(settings.user, settings.label()),
                                                     &password))
                    return false;
                settings.password = password;
            }
        }
    } catch (const AppError &e) {
        ShowMsg(e.message(), mkError);
        return false;
    }
    for (const char *name : {"miSicherungErstellen", "miSicherungZurueckspielen"}) {
        if (QAction *a = findChild<QAction *>(QLatin1String(name))) {
            a->setText(a->text().remove(u'&').remove(QStringLiteral("...")) + QStringLiteral(" (Sache der Serververwaltung)"));
            a->setEnabled(false);
        }
    }
    return true;
}

void TFormMain::showDatabaseLocation()
{
    m_panels[2]->setText(QStringLiteral("  ") + m_dm.db.location());
}

void TFormMain::backupAtEnd()
{
    if (!m_dm.db.isOpen() || m_dm.db.onServer())
        return;
    try {
        Backup::write(m_dm.db);
    } catch (const AppError &e) {
        ShowMsg(e.message(), mkError);
    }
}

void TFormMain::createBackup()
{
    if (m_dm.db.onServer()) {
        ShowMsg(ServerBackupNote, mkInfo);
        return;
    }
    // What was typed on the page belongs into the backup.
    if (!leaveCurrentPage())
        return;
    QString path;
    {
        TFormFortschritt progress(QStringLiteral("Die Datensicherung wird geschrieben..."), this);
        progress.show();
        path = Backup::write(m_dm.db, QDateTime::currentDateTime(), [&progress](double share) {
            progress.setShare(share);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }
    ShowMsg(QStringLiteral("Die Datensicherung wurde geschrieben:\r%1").arg(QDir::toNativeSeparators(path)), mkInfo);
}

void TFormMain::restoreBackup()
{
    if (m_dm.db.onServer()) {
        ShowMsg(ServerBackupNote, mkInfo);
        return;
    }
    const QString file = Dialogs::instance().chooseFile(QStringLiteral("Datensicherung zurückspielen"),
                                                        Backup::folder(m_dm.db),
                                                        QStringLiteral("Datensicherungen (Finorra-*.abs)"));
    if (file.isEmpty())
        return;
    Backup::check(file);
    if (!AskYesNo(QStringLiteral("Soll die Datensicherung \"%1\" zurückgespielt werden?\rDie jetzige Datenbank wird "
                                 "vorher selbst gesichert; danach startet das Programm neu.")
                      .arg(QFileInfo(file).fileName()),
                  mkWarning))
        return;
    if (!leaveCurrentPage())
        return;
    QString failure;
    {
        TFormFortschritt progress(QStringLiteral("Die Datensicherung wird zurückgespielt..."), this);
        progress.show();
        try {
            Backup::restore(m_dm.db, file, [&progress](double share) {
                progress.setShare(share);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        } catch (const AppError &e) {
            failure = e.message();
        }
    }
    if (failure.isEmpty()) {
        ShowMsg(QStringLiteral("Die Datensicherung wurde zurückgespielt.\rDas Programm startet jetzt neu."), mkInfo);
    } else {
        ShowMsg(failure + QStringLiteral("\rDas Programm startet neu."), mkError);
    }
    // The restored file (or the old one) is opened by the new start; this one, closed, writes
    // no backup of its own on the way out.
    m_dm.db.close();
    restart();
}

void TFormMain::chooseDatabase()
{
    const QString ini = m_exeDir + DatabaseConfig::FileName;
    TFormDatenbank window(DatabaseConfig::load(ini), this);
    if (window.exec() != QDialog::Accepted)
        return;
    DatabaseConfig::save(ini, window.choice());
    ShowMsg(QStringLiteral("Die Einstellung wurde gespeichert.\rSie gilt nach einem Neustart des Programms."), mkInfo);
}
