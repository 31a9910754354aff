#include "ui/PdfConverter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace PdfConverter {

namespace {

QString &chosenProgram()
{
    static QString path;
    return path;
}

int &timeout()
{
    static int ms = 120000;
    return ms;
}

// One profile for the whole run of the program: LibreOffice sets a new profile up on its
// first start, which takes a few seconds, and later conversions reuse it.
QString profileUrl()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/finorra-libreoffice-XXXXXX"));
    return QUrl::fromLocalFile(dir.path()).toString(QUrl::FullyEncoded);
}

QString lastLine(const QByteArray &output)
{
    const QStringList lines = QString::fromLocal8Bit(output).split(u'\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed();
}

Result failure(const QString &text)
{
    return {false, {}, text};
}

} // namespace

QString program()
{
    if (!chosenProgram().isEmpty())
        return chosenProgram();
    for (const char *name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void setProgram(const QString &path)
{
    chosenProgram() = path;
}

int timeoutMs()
{
    return timeout();
}

void setTimeoutMs(int ms)
{
    timeout() = ms;
}

Result convert(const QString &rtfPath, const std::function<bool()> &waiting)
{
    const QString soffice = program();
    if (soffice.isEmpty() || !QFileInfo(soffice).isExecutable())
        return failure(QStringLiteral("Ausdrucke als PDF brauchen LibreOffice, es ist auf diesem Rechner aber nicht "
                                      "installiert.\rDer Ausdruck liegt als RTF-Datei vor: %1")
                           .arg(QDir::toNativeSeparators(rtfPath)));

    const QFileInfo rtf(rtfPath);
    const QString pdfPath = rtf.absolutePath() + u'/' + rtf.completeBaseName() + QStringLiteral(".pdf");
    // A PDF of an earlier printout must not pass for this one when LibreOffice fails.
    if (QFileInfo::exists(pdfPath) && !QFile::remove(pdfPath))
        return failure(QStringLiteral("Die PDF-Datei %1 eines früheren Ausdrucks lässt sich nicht ersetzen. "
                                      "Ist sie noch in einem anderen Programm geöffnet?")
                           .arg(QDir::toNativeSeparators(pdfPath)));

    QProcess process;
    process.setProgram(soffice);
    process.setArguments({QStringLiteral("-env:UserInstallation=") + profileUrl(), QStringLiteral("--headless"),
                          QStringLiteral("--invisible"), QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"),
                          QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                          rtf.absolutePath(), rtf.absoluteFilePath()});
    process.start();
    if (!process.waitForStarted(10000))
        return failure(QStringLiteral("LibreOffice (%1) ließ sich nicht starten: %2")
                           .arg(QDir::toNativeSeparators(soffice), process.errorString()));

    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (clock.elapsed() > timeout()) {
            process.kill();
            process.waitForFinished(5000);
            return failure(QStringLiteral("LibreOffice hat den Ausdruck nicht innerhalb von %1 Sekunden in PDF "
                                          "umgewandelt; die Umwandlung wurde abgebrochen.")
                               .arg(timeout() / 1000));
        }
        if (waiting && !waiting()) {
            process.kill();
            process.waitForFinished(5000);
            QFile::remove(pdfPath);
            return failure(QStringLiteral("Die Umwandlung in PDF wurde abgebrochen."));
        }
    }

    const QString detail = lastLine(process.readAllStandardError());
    const bool finished = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!finished || !QFileInfo(pdfPath).isFile() || QFileInfo(pdfPath).size() == 0) {
        QString text = QStringLiteral("LibreOffice konnte den Ausdruck %1 nicht in PDF umwandeln.")
                           .arg(QDir::toNativeSeparators(rtfPath));
        if (!detail.isEmpty())
            text += QStringLiteral("\rMeldung von LibreOffice: ") + detail;
        return failure(text);
    }
    return {true, pdfPath, {}};
}

} // namespace PdfConverter
