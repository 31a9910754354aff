#include "infothek/rules/InfothekRules.h"

#include "core/SqlText.h"
#include "data/DataSet.h"

#include <QDir>
#include <QFile>

namespace InfothekRules {

QString searchSql(const QString &text, SearchIn in)
{
    const QString pattern = SqlText::doubleQuotes(QLatin1Char('%') + SqlText::lowerAscii(text) + QLatin1Char('%'));
    return SqlText::format(
        in == SearchIn::ShortDescription
            ? QStringLiteral("Select * from infothek where  rubrik_id = :pvrubrik_id and lower(kurz) like '%s' order by kurz")
            : QStringLiteral("Select * from infothek where rubrik_id = :pvrubrik_id and lower(schlag) like '%s' order by kurz"),
        {pattern});
}

void openDocuments(DataSet &documents, const QVariant &rubrikId)
{
    // A document being edited is stored first: closing would drop what was typed.
    if (documents.isOpen())
        documents.checkBrowseMode();
    documents.close();
    documents.setParam(QStringLiteral("pvrubrik_id"), rubrikId);
    documents.open();
}

bool isPlainFileName(const QString &datei)
{
    // Both separators count wherever the office stores its files; a drive letter ("C:")
    // would name another directory on Windows.
    return !datei.contains(QLatin1Char('/')) && !datei.contains(QLatin1Char('\\')) && !datei.contains(QLatin1Char(':'))
           && datei != QLatin1String(".") && datei != QLatin1String("..");
}

QString notPlainMessage(const QString &datei)
{
    return QStringLiteral("Der Dateiname <%1> enthält eine Verzeichnisangabe.\r"
                          "Dokumente werden nur im Verzeichnis ihrer Rubrik gesucht.")
        .arg(datei);
}

QString tooLongMessage(const QString &what, const QString &name, int size)
{
    if (size <= 0 || name.size() <= size)
        return {};
    return QStringLiteral("%1\r%2\rist zu lang: höchstens %3 Zeichen sind möglich.").arg(what, name).arg(size);
}

QString notFoundMessage(const QString &path)
{
    return QStringLiteral("Reportvorlage \r\r<") + path + QStringLiteral(">\r\rwurde nicht gefunden.");
}

bool isRtfFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "{\\rtf";
}

QString notOpenedMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Das Dokument\r%1\rließ sich nicht öffnen.\r\r%2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace InfothekRules
