#include "hhbook/import/Statement.h"

#include "core/GermanFormat.h"
#include "core/Iban.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

bool StatementEntry::euroAmount(Money *out) const
{
    if (inEuro()) {
        *out = amount;
        return true;
    }
    if (euroKnown)
        *out = euro;
    return euroKnown;
}

QString LeftOut::text() const
{
    QStringList parts;
    if (balances > 0)
        parts << (balances == 1 ? QStringLiteral("1 Zeile mit einem Kontostand (Saldo)")
                                : QStringLiteral("%1 Zeilen mit Kontoständen (Salden)").arg(balances));
    if (pending > 0)
        parts << (pending == 1 ? QStringLiteral("1 vorgemerkter, noch nicht gebuchter Umsatz")
                               : QStringLiteral("%1 vorgemerkte, noch nicht gebuchte Umsätze").arg(pending));
    if (scheduled > 0)
        parts << (scheduled == 1 ? QStringLiteral("1 geplanter Umsatz (Terminauftrag)")
                                 : QStringLiteral("%1 geplante Umsätze (Terminaufträge)").arg(scheduled));
    if (parts.isEmpty())
        return {};
    return QStringLiteral("Ausgelassen, weil keine Buchungen: %1.").arg(parts.join(QStringLiteral(", ")));
}

QString StatementAccount::title() const
{
    QString t = id.isEmpty() ? QStringLiteral("Konto ohne Angabe") : Statement::groupedIban(id);
    if (!owner.isEmpty())
        t += QStringLiteral(" – ") + owner;
    if (!currency.isEmpty())
        t += QStringLiteral(" (%1)").arg(currency);
    return t;
}

namespace Statement {

namespace {

qsizetype skipBlanks(const QByteArray &content)
{
    qsizetype i = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < content.size() && (content.at(i) == ' ' || content.at(i) == '\t' || content.at(i) == '\r'
                                  || content.at(i) == '\n'))
        ++i;
    return i;
}

QString megabytes(qint64 bytes)
{
    return GermanFormat::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 1);
}

} // namespace

Format detect(const QByteArray &content)
{
    const qsizetype i = skipBlanks(content);
    // Any XML goes to the CAMT reader, so a report or notification in XML is refused with
    // a message that says what it is instead of being read as a CSV of nonsense.
    return i < content.size() && content.at(i) == '<' ? Format::Camt053 : Format::Csv;
}

QString notAStatement(const QString &name, const QString &found)
{
    return QStringLiteral("Die Datei %1ist kein Kontoauszug (erwartet: CSV-Export oder CAMT.052/053).\rGefunden: %2.")
        .arg(name.isEmpty() ? QString() : name + u' ', found);
}

void refuseNonStatement(const QByteArray &content, const QString &name)
{
    const QString shown = name.isEmpty() ? QString() : name + u' ';
    if (content.size() > MaxBytes)
        throw ImportError(QStringLiteral("Die Datei %1ist mit %2 MB zu groß für einen Kontoauszug (höchstens 20 MB).")
                              .arg(shown, megabytes(content.size())));
    if (content.startsWith("%PDF"))
        throw ImportError(notAStatement(name, QStringLiteral("ein PDF-Dokument")));
    if (content.startsWith("PK\x03\x04"))
        throw ImportError(notAStatement(name, QStringLiteral("ein ZIP-Archiv (etwa eine Excel- oder Word-Datei)")));
    if (content.startsWith("\xD0\xCF\x11\xE0"))
        throw ImportError(notAStatement(name, QStringLiteral("eine Excel- oder Word-Datei")));

    // Text has no NUL and hardly a control character; random bytes have many. (UTF-16 text,
    // which a few exports write, has NULs and says so by its byte-order mark.)
    const bool utf16 = content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF");
    const qsizetype probe = utf16 ? 0 : std::min<qsizetype>(content.size(), 64 * 1024);
    qsizetype control = 0;
    for (qsizetype i = 0; i < probe; ++i) {
        const auto b = static_cast<unsigned char>(content.at(i));
        if (b == 0) {
            control = probe;
            break;
        }
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f')
            ++control;
    }
    if (probe > 0 && control * 100 > probe)
        throw ImportError(notAStatement(name, QStringLiteral("Binärdaten, kein Text")));

    const qsizetype start = skipBlanks(content);
    if (start < content.size() && content.at(start) == '<') {
        const QByteArray head = content.mid(start, 4096).toLower();
        if (head.startsWith("<!doctype html") || head.startsWith("<html") || head.contains("<html"))
            throw ImportError(notAStatement(name, QStringLiteral("eine HTML-Seite")));
        // Entities can expand a small file into gigabytes or read other files of the
        // computer; no bank writes a document type definition into a statement.
        if (content.contains("<!DOCTYPE") || content.contains("<!doctype") || content.contains("<!ENTITY"))
            throw ImportError(QStringLiteral("Die Datei %1enthält eine Dokumenttyp-Definition (DTD) und wird nicht gelesen: "
                                             "Kontoauszüge der Banken enthalten keine, und ihre Entitäten könnten "
                                             "andere Dateien lesen oder den Speicher füllen.")
                                  .arg(shown));
        const qsizetype entries = content.count("<Ntry>") + content.count("<Ntry ");
        if (entries > MaxRows)
            throw ImportError(QStringLiteral("Die Datei %1hat %2 Buchungen; ein Kontoauszug wird bis 100.000 Buchungen gelesen.")
                                  .arg(shown, GermanFormat::number(static_cast<double>(entries), 0)));
        return;
    }
    const qsizetype lines = content.count('\n');
    if (lines > MaxRows)
        throw ImportError(QStringLiteral("Die Datei %1hat %2 Zeilen; ein Kontoauszug wird bis 100.000 Zeilen gelesen.")
                              .arg(shown, GermanFormat::number(static_cast<double>(lines), 0)));
}

QString cleanReference(const QString &reference)
{
    const QString r = reference.trimmed();
    if (r.isEmpty() || r.compare(QLatin1String("NOTPROVIDED"), Qt::CaseInsensitive) == 0
        || r.compare(QLatin1String("NONREF"), Qt::CaseInsensitive) == 0
        || r.compare(QLatin1String("NOT PROVIDED"), Qt::CaseInsensitive) == 0)
        return {};
    return r;
}

QString groupedIban(const QString &iban)
{
    QString compact = iban;
    compact.remove(u' ');
    static const QRegularExpression ibanShape(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{8,30}$"));
    if (!ibanShape.match(compact).hasMatch())
        return iban.trimmed();
    return Iban::grouped(compact);
}

} // namespace Statement
