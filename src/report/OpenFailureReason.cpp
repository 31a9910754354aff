#include "report/OpenFailureReason.h"

#include <QDir>
#include <QFileInfo>

namespace OpenFailureReason {

namespace {

QString noProgram(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("rtf") || suffix == QLatin1String("doc") || suffix == QLatin1String("docx")
        || suffix == QLatin1String("odt"))
        return QStringLiteral("Auf diesem Computer ist kein Programm für %1-Dateien eingerichtet.\r"
                              "Installieren Sie bitte eine Textverarbeitung, z. B. LibreOffice, "
                              "und öffnen Sie die Datei danach erneut.")
            .arg(suffix.toUpper());
    if (suffix == QLatin1String("pdf"))
        return QStringLiteral("Auf diesem Computer ist kein Programm für PDF-Dateien eingerichtet.\r"
                              "Installieren Sie bitte ein Programm zum Anzeigen von PDF-Dateien "
                              "und öffnen Sie die Datei danach erneut.");
    if (!suffix.isEmpty())
        return QStringLiteral("Auf diesem Computer ist kein Programm für Dateien vom Typ „.%1“ eingerichtet.\r"
                              "Installieren Sie bitte ein passendes Programm und öffnen Sie die Datei danach erneut.")
            .arg(suffix);
    return QStringLiteral("Auf diesem Computer ist kein Programm für diese Art Datei eingerichtet.\r"
                          "Installieren Sie bitte eine Textverarbeitung, z. B. LibreOffice, "
                          "und öffnen Sie die Datei danach erneut.");
}

} // namespace

QString text(int errorNumber, const QString &path)
{
    switch (errorNumber) {
    case 0: return QStringLiteral("Dem Betriebssystem fehlen Speicher oder andere Mittel.");
    case 2: return QStringLiteral("Die Datei wurde nicht gefunden.");
    case 3: return QStringLiteral("Der Pfad wurde nicht gefunden.");
    case 5: return QStringLiteral("Das Betriebssystem hat den Zugriff auf die Datei verweigert.");
    case 8: return QStringLiteral("Für diesen Vorgang reicht der Arbeitsspeicher nicht aus.");
    case 11: return QStringLiteral("Das Programm für diese Datei ist beschädigt oder ungültig.");
    case 26: return QStringLiteral("Die Datei wird gerade von einem anderen Programm verwendet.");
    case 27: return QStringLiteral("Die Verknüpfung dieses Dateityps mit einem Programm ist unvollständig oder ungültig.");
    case 28: return QStringLiteral("Das Programm für diese Datei hat nicht rechtzeitig geantwortet.");
    case 29: return QStringLiteral("Das Programm für diese Datei hat den Auftrag nicht angenommen.");
    case 30: return QStringLiteral("Das Programm für diese Datei ist noch mit anderen Aufträgen beschäftigt.");
    case 31: return noProgram(path);
    case 32: return QStringLiteral("Eine Programmbibliothek wurde nicht gefunden.");
    default: break;
    }
    return QStringLiteral("Der Grund ist unbekannt.");
}

QString openFailedMessage(const QString &path, int errorNumber)
{
    return QStringLiteral("Der Ausdruck wurde gespeichert, ließ sich aber nicht öffnen:\r%1\r\r%2")
        .arg(QDir::toNativeSeparators(path), text(errorNumber, path));
}

} // namespace OpenFailureReason
