#include "data/DataError.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// A server database counts as empty when it has no tables at all; one with tables of its own
// (ours or anybody's) is never written into.
bool serverIsEmpty(const ServerSettings &s, QString *why)
{
    const QString name = QStringLiteral("finorra-migrate-check");
    bool empty = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setDatabaseName(s.database);
        db.setUserName(s.user);
        db.setPassword(s.password);
        if (!db.open()) {
            *why = QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden: %2").arg(s.label(), db.lastError().text());
        } else {
            QSqlQuery q(db);
            q.exec(QStringLiteral("select count(*) from information_schema.tables where table_schema = current_schema()"));
            empty = q.next() && q.value(0).toInt() == 0;
            if (!empty)
                *why = QStringLiteral("Die Zieldatenbank %1 ist nicht leer.\nBitte legen Sie eine neue, leere "
                                      "Datenbank an (createdb).").arg(s.label());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return empty;
}

// The folder a copy into a new file is made in, beside where the file is to go: the file
// appears under its name only once it is complete.
QString workFolder(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral(".Finorra-Umzug-%1").arg(QCoreApplication::applicationPid()));
}

// Work folders of copies that were killed.
void removeAbandonedWork(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral(".Finorra-Umzug-*")}, QDir::Dirs | QDir::Hidden)) {
        bool ok = false;
        const qint64 pid = name.mid(15).toLongLong(&ok);
        if (ok && pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            QDir(dir.filePath(name)).removeRecursively();
    }
}

// Puts the finished file under its name, never over a file that appeared meanwhile.
bool placeWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray f = QFile::encodeName(from), t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace rename: a hard link fails just as well on a name
    // that exists.
    return ::link(f.constData(), t.constData()) == 0 && ::unlink(f.constData()) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("finorra-migrate"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Kopiert eine Finorra-Datenbank vollständig zwischen der Datei Finorra.abs und einem PostgreSQL-Server.\n"
        "Das Ziel muss neu und leer sein; Schlüssel bleiben erhalten, alles geschieht in einer Transaktion.\n"
        "Das Kennwort kommt aus ~/.pgpass, PGPASSFILE oder PGPASSWORD."));
    parser.addHelpOption();
    const QCommandLineOption toServer(QStringLiteral("nach-postgresql"),
                                      QStringLiteral("Kopiert die Datei Finorra.abs aus <ordner> auf den Server."),
                                      QStringLiteral("ordner"));
    const QCommandLineOption toFile(QStringLiteral("nach-datei"),
                                    QStringLiteral("Kopiert die Datenbank vom Server in eine neue Finorra.abs in <ordner>."),
                                    QStringLiteral("ordner"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Rechner des Servers (Vorgabe: localhost)."),
                                  QStringLiteral("host"), QStringLiteral("localhost"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port des Servers (Vorgabe: 5432)."),
                                  QStringLiteral("port"), QStringLiteral("5432"));
    const QCommandLineOption database(QStringLiteral("datenbank"), QStringLiteral("Name der Datenbank (Vorgabe: finorra)."),
                                      QStringLiteral("name"), QStringLiteral("finorra"));
    const QCommandLineOption user(QStringLiteral("benutzer"), QStringLiteral("Benutzer auf dem Server."),
                                  QStringLiteral("name"));
    parser.addOptions({toServer, toFile, host, port, database, user});
    parser.process(app);

    if (parser.isSet(toServer) == parser.isSet(toFile)) {
        err() << "Bitte genau eine Richtung angeben: --nach-postgresql <ordner> oder --nach-datei <ordner>.\n";
        return 2;
    }
    ServerSettings server;
    server.host = parser.value(host);
    server.port = parser.value(port).toInt();
    server.database = parser.value(database);
    server.user = parser.value(user);
    server.password = qEnvironmentVariable("PGPASSWORD");
    const bool upload = parser.isSet(toServer);
    const QString folder = QDir(parser.value(upload ? toServer : toFile)).absolutePath();

    const QString work = workFolder(folder);
    try {
        Database file;
        Database onServer;
        // On the server the tables are created in the transaction that copies the rows.
        onServer.holdFirstUseOpen(upload);
        if (upload) {
            if (!QFileInfo::exists(QDir(folder).filePath(Database::FileName))) {
                err() << "Im Ordner " << QDir::toNativeSeparators(folder) << " gibt es keine " << Database::FileName << ".\n";
                return 1;
            }
            QString why;
            if (!serverIsEmpty(server, &why)) {
                err() << why << "\n";
                return 1;
            }
            file.open(folder);
            onServer.openServer(server);
        } else {
            removeAbandonedWork(folder);
            if (QFileInfo::exists(QDir(folder).filePath(Database::FileName))) {
                err() << "Im Ordner " << QDir::toNativeSeparators(folder) << " gibt es schon eine " << Database::FileName
                      << "; sie wird nicht überschrieben.\n";
                return 1;
            }
            onServer.openServer(server);
            if (!QDir().mkpath(work)) {
                err() << "Im Ordner " << QDir::toNativeSeparators(folder) << " kann keine Datei angelegt werden.\n";
                return 1;
            }
            file.open(work);
        }
        const Database &source = upload ? file : onServer;
        const Database &target = upload ? onServer : file;
        out() << "Kopiere " << source.location() << " nach " << target.location() << "\n";
        out().flush();
        const auto counts = DatabaseCopy::copy(source, target, [](const QString &table, qint64 done, qint64 total) {
            out() << "\r" << table << ": " << done << " von " << total << " Zeilen" << (done == total ? "\n" : "");
            out().flush();
        });
        bool equal = true;
        out() << "\nTabelle                          Quelle       Ziel\n";
        for (const auto &c : counts) {
            out() << qSetFieldWidth(30) << Qt::left << c.table << qSetFieldWidth(10) << Qt::right << c.source
                  << qSetFieldWidth(11) << c.target << qSetFieldWidth(0) << (c.source == c.target ? "" : "  ABWEICHUNG")
                  << "\n";
            equal = equal && c.source == c.target;
        }
        if (!equal) {
            out() << "Die Zeilenzahlen weichen ab! Das Ziel bleibt, wie es war.\n";
            if (upload)
                onServer.rollback();
            QDir(work).removeRecursively();
            return 1;
        }
        if (upload) {
            onServer.commit();
        } else {
            file.close();
            if (!placeWithoutReplacing(QDir(work).filePath(Database::FileName), QDir(folder).filePath(Database::FileName))) {
                err() << "Die neue " << Database::FileName << " kann nicht in den Ordner " << QDir::toNativeSeparators(folder)
                      << " gelegt werden (dort liegt inzwischen eine?).\n";
                QDir(work).removeRecursively();
                return 1;
            }
            QDir(work).removeRecursively();
        }
        out() << "Alle Zeilen wurden übertragen.\n";
        return 0;
    } catch (const DataError &e) {
        QDir(work).removeRecursively();
        err() << QString(e.message()).replace(u'\r', u'\n') << "\n";
        return 1;
    }
}
