#include "data/ConnectionLoss.h"

#include "data/Database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace ConnectionLoss {

bool isLost(const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    // 08: connection exceptions; 57P01-03: the server shuts down or restarts.
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") || state == QLatin1String("57P02")
        || state == QLatin1String("57P03"))
        return true;
    const QString text = error.databaseText() + u' ' + error.driverText();
    for (const char *sign : {"server closed the connection", "no connection to the server", "terminating connection",
                             "could not send data", "could not receive data", "connection to server", "SSL SYSCALL",
                             "Connection refused", "server conn crashed", "the database system is shutting down",
                             "the database system is starting up"})
        if (text.contains(QLatin1String(sign)))
            return true;
    return false;
}

QString notSaved()
{
    return Lost + QStringLiteral("\rDer letzte Schritt wurde nicht ausgeführt und nichts davon gespeichert. Bitte "
                                 "wiederholen Sie ihn; das Programm verbindet sich dabei neu.");
}

QString commitUnknown()
{
    return Lost + QStringLiteral("\rOb die letzte Änderung noch gespeichert wurde, ist nicht sicher. Bitte prüfen Sie "
                                 "sie, sobald der Server wieder erreichbar ist; das Programm verbindet sich dabei neu.");
}

QString reconnectFailed(const QString &reason)
{
    return Lost + u'\r' + reason + QStringLiteral(" Bitte versuchen Sie es gleich noch einmal.");
}

} // namespace ConnectionLoss

// A connection that lost its server is opened anew under the same name before the next
// statement; queries prepared on the old one are prepared again by their owners, who see
// the generation change.
void Database::reconnectIfLost() const
{
    if (!m_connectionLost || !m_server || m_serverDepth > 0)
        return;
    // A connection of a new name: queries still held on the old one (a data set's prepared
    // insert) clean up against the closed old connection, never inside a transaction of the
    // new one.
    const QString name = m_baseName + QStringLiteral("-neu-%1").arg(m_generation + 1);
    {
        QSqlDatabase db = QSqlDatabase::cloneDatabase(m_connectionName, name);
        if (!db.open()) {
            const QString text = db.lastError().databaseText() + u' ' + db.lastError().driverText();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw ConnectionLost(ConnectionLoss::reconnectFailed(serverConnectionReason(*m_server, text)));
        }
        QSqlQuery q(db);
        q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    }
    {
        QSqlDatabase old = connection();
        old.close();
    }
    m_retired << m_connectionName;
    m_connectionName = name;
    m_connectionLost = false;
    ++m_generation;
    const_cast<Database *>(this)->dropIdleReaders();
}
