#include "hhbook/import/CsvStatement.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace CsvStatement {

namespace {

// The bytes 0x80–0x9F of Windows-1252; the rest is Latin-1. Unassigned bytes stay
// themselves, so nothing of a line is lost.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct Record
{
    int line = 0;
    QStringList fields;
};

QVector<Record> records(const QString &text, QChar sep)
{
    QVector<Record> out;
    Record current;
    current.line = 1;
    QString field;
    bool quoted = false, fieldStarted = false, any = false;
    int line = 1;
    auto endField = [&] {
        current.fields.append(field);
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        if (any || !field.isEmpty() || !current.fields.isEmpty())
            endField();
        if (!current.fields.isEmpty())
            out.append(current);
        current = Record{};
        current.line = line;
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                if (c != u'\r')
                    field.append(c);
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            any = true;
        } else if (c == sep) {
            any = true;
            endField();
        } else if (c == u'\n') {
            ++line;
            endRecord();
        } else if (c != u'\r') {
            field.append(c);
            fieldStarted = true;
            any = true;
        }
    }
    endRecord();
    return out;
}

QString normalized(const QString &word)
{
    QString out;
    for (QChar c : word.toLower()) {
        switch (c.unicode()) {
        case 0xE4: out += QLatin1String("ae"); break;
        case 0xF6: out += QLatin1String("oe"); break;
        case 0xFC: out += QLatin1String("ue"); break;
        case 0xDF: out += QLatin1String("ss"); break;
        default:
            if (c.isLetterOrNumber())
                out += c;
        }
    }
    return out;
}

bool blank(const QStringList &fields)
{
    return std::all_of(fields.cbegin(), fields.cend(), [](const QString &f) { return f.trimmed().isEmpty(); });
}

QString field(const QStringList &row, int column)
{
    return column >= 0 && column < row.size() ? row.at(column).simplified() : QString();
}

} // namespace

QString ColumnMapping::missing() const
{
    QStringList what;
    if (date < 0)
        what << QStringLiteral("Buchungsdatum");
    if (amount < 0 && debit < 0 && credit < 0)
        what << QStringLiteral("Betrag (oder Soll und Haben)");
    if (text < 0 && counterparty < 0)
        what << QStringLiteral("Verwendungszweck oder Empfänger");
    if (what.isEmpty())
        return {};
    return QStringLiteral("Bitte die Spalten zuordnen: %1.").arg(what.join(QStringLiteral(", ")));
}

QString ColumnMapping::toText() const
{
    return QStringLiteral("date=%1;valuedate=%2;amount=%3;debit=%4;credit=%5;text=%6;counterparty=%7;reference=%8")
        .arg(date).arg(valueDate).arg(amount).arg(debit).arg(credit).arg(text).arg(counterparty).arg(reference);
}

ColumnMapping ColumnMapping::fromText(const QString &text)
{
    ColumnMapping m;
    const QHash<QString, int *> targets = {{QStringLiteral("date"), &m.date},
                                         {QStringLiteral("valuedate"), &m.valueDate},
                                         {QStringLiteral("amount"), &m.amount},
                                         {QStringLiteral("debit"), &m.debit},
                                         {QStringLiteral("credit"), &m.credit},
                                         {QStringLiteral("text"), &m.text},
                                         {QStringLiteral("counterparty"), &m.counterparty},
                                         {QStringLiteral("reference"), &m.reference}};
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList kv = part.split(u'=');
        bool ok = false;
        const int v = kv.value(1).toInt(&ok);
        if (kv.size() == 2 && ok && targets.contains(kv.first()))
            *targets.value(kv.first()) = v;
    }
    return m;
}

QString decode(const QByteArray &bytes, QString *encoding)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(data);
    if (!utf8.hasError()) {
        if (encoding)
            *encoding = QStringLiteral("UTF-8");
        return asUtf8;
    }
    QString out;
    out.reserve(data.size());
    for (char ch : std::as_const(data)) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(b >= 0x80 && b <= 0x9F ? QChar(Cp1252High[b - 0x80]) : QChar(b));
    }
    if (encoding)
        *encoding = QStringLiteral("Windows-1252");
    return out;
}

Table parse(const QByteArray &bytes)
{
    Table t;
    const QString text = decode(bytes, &t.encoding);

    // The separator that gives the most lines of one and the same width (three fields at
    // least); on a tie the semicolon of German exports wins.
    int bestScore = 0, bestWidth = 0;
    QVector<Record> best;
    for (QChar sep : {QChar(u';'), QChar(u'\t'), QChar(u',')}) {
        const QVector<Record> recs = records(text, sep);
        QHash<int, int> widths;
        for (const Record &r : recs)
            if (r.fields.size() >= 3)
                ++widths[static_cast<int>(r.fields.size())];
        int width = 0, score = 0;
        for (auto it = widths.cbegin(); it != widths.cend(); ++it)
            if (it.value() > score || (it.value() == score && it.key() > width)) {
                width = it.key();
                score = it.value();
            }
        if (score > bestScore) {
            bestScore = score;
            bestWidth = width;
            best = recs;
            t.separator = sep;
        }
    }
    // a header and at least one line under it
    if (bestScore < 2)
        throw ImportError(QStringLiteral("In der Datei wurde keine Tabelle mit Buchungen gefunden."));

    // The header: the first line of that width in which no field is a date or an amount.
    qsizetype headerAt = -1;
    for (qsizetype i = 0; i < best.size() && headerAt < 0; ++i) {
        const QStringList &f = best.at(i).fields;
        if (f.size() != bestWidth || blank(f))
            continue;
        const bool looksLikeData = std::any_of(f.cbegin(), f.cend(), [](const QString &v) {
            Money m;
            return Statement::parseDate(v).isValid() || (!v.trimmed().isEmpty() && Statement::parseAmount(v, &m));
        });
        if (!looksLikeData)
            headerAt = i;
    }
    if (headerAt < 0)
        throw ImportError(QStringLiteral("In der Datei wurde keine Kopfzeile mit Spaltennamen gefunden."));

    for (const QString &h : best.at(headerAt).fields)
        t.header << h.trimmed();
    for (qsizetype i = headerAt + 1; i < best.size(); ++i) {
        t.rows.append(best.at(i).fields);
        t.lines.append(best.at(i).line);
    }
    return t;
}

ColumnMapping guessMapping(const QStringList &header)
{
    QStringList names;
    for (const QString &h : header)
        names << normalized(h);
    QVector<bool> used(names.size(), false);
    auto take = [&](std::initializer_list<const char *> candidates) {
        for (const char *c : candidates)
            for (qsizetype i = 0; i < names.size(); ++i)
                if (!used.at(i) && names.at(i) == QLatin1String(c)) {
                    used[i] = true;
                    return static_cast<int>(i);
                }
        return -1;
    };
    ColumnMapping m;
    m.date = take({"buchungstag", "buchungsdatum", "buchung", "datum", "buchungstagdatum"});
    m.valueDate = take({"valutadatum", "valuta", "wert", "wertstellung", "wertstellungvaluta", "valutadatumwert"});
    // separate debit and credit columns win over an amount column beside them, which such
    // layouts tend to leave empty
    m.debit = take({"soll", "sollbetrag", "ausgang", "belastung"});
    m.credit = take({"haben", "habenbetrag", "eingang"});
    if (m.debit < 0 || m.credit < 0) {
        for (int c : {m.debit, m.credit})
            if (c >= 0)
                used[c] = false;
        m.debit = m.credit = -1;
        m.amount = take({"betrag", "betrageur", "betragineur", "umsatz", "umsatzineur", "betragbuchung"});
    }
    m.text = take({"verwendungszweck", "zweck", "beschreibung", "buchungstext", "umsatzart", "vorgang"});
    m.counterparty = take({"beguenstigterzahlungspflichtiger", "namezahlungsbeteiligter", "auftraggeberempfaenger",
                           "beguenstigterauftraggeber", "zahlungsempfaengerin", "zahlungsempfaenger",
                           "empfaenger", "auftraggeber", "zahlungsbeteiligter", "gegenpartei", "name"});
    m.reference = take({"kundenreferenzendtoend", "endtoendreferenz", "kundenreferenz", "referenz", "bankreferenz"});
    return m;
}

QString bankFamily(const QStringList &header)
{
    QStringList names;
    for (const QString &h : header)
        names << normalized(h);
    if (names.contains(QLatin1String("beguenstigterzahlungspflichtiger")) && names.contains(QLatin1String("auftragskonto")))
        return QStringLiteral("Sparkasse");
    if (names.contains(QLatin1String("namezahlungsbeteiligter")))
        return QStringLiteral("Volksbank/Raiffeisenbank");
    if (names.contains(QLatin1String("auftraggeberempfaenger")))
        return QStringLiteral("ING");
    if (names.contains(QLatin1String("beguenstigterauftraggeber")) && names.contains(QLatin1String("soll")))
        return QStringLiteral("Deutsche Bank/Postbank");
    return QStringLiteral("Eigenes Format");
}

QString headerKey(const Table &table)
{
    return table.header.join(table.separator);
}

QVector<StatementEntry> entries(const Table &table, const ColumnMapping &m)
{
    if (const QString missing = m.missing(); !missing.isEmpty())
        throw ImportError(missing);
    QVector<StatementEntry> out;
    out.reserve(table.rows.size());
    const auto width = table.header.size();
    for (qsizetype i = 0; i < table.rows.size(); ++i) {
        const QStringList &row = table.rows.at(i);
        const int line = table.lines.at(i);
        if (blank(row))
            continue;
        const QString dateText = field(row, m.date);
        const QDate date = Statement::parseDate(dateText);
        const QString amountText = field(row, m.amount);
        const QString debitText = field(row, m.debit);
        const QString creditText = field(row, m.credit);
        const bool hasAmount = !amountText.isEmpty() || !debitText.isEmpty() || !creditText.isEmpty();

        if (row.size() != width) {
            // a balance or total under the table is shorter and carries no booking date
            if (row.size() < width && !date.isValid())
                continue;
            throw ImportError(QStringLiteral("Zeile %1: Die Zeile hat %2 statt %3 Felder.")
                                  .arg(line).arg(row.size()).arg(width));
        }
        if (!date.isValid()) {
            if (dateText.isEmpty() && !hasAmount)
                continue;
            if (dateText.isEmpty())
                throw ImportError(QStringLiteral("Zeile %1: Die Buchung hat kein Datum.").arg(line));
            if (!hasAmount && !dateText.at(0).isDigit())
                continue;   // a line of words under the table ("Anfangssaldo", "Kontostand")
            throw ImportError(QStringLiteral("Zeile %1: '%2' ist kein gültiges Datum.").arg(line).arg(dateText));
        }
        StatementEntry e;
        e.bookingDate = date;
        e.valueDate = Statement::parseDate(field(row, m.valueDate));
        if (!e.valueDate.isValid())
            e.valueDate = date;
        auto amountOf = [&](const QString &t) {
            Money v;
            if (!Statement::parseAmount(t, &v))
                throw ImportError(QStringLiteral("Zeile %1: '%2' ist kein gültiger Betrag.").arg(line).arg(t));
            return v;
        };
        if (m.amount >= 0) {
            if (amountText.isEmpty())
                throw ImportError(QStringLiteral("Zeile %1: Die Buchung hat keinen Betrag.").arg(line));
            e.amount = amountOf(amountText);
        } else {
            if (debitText.isEmpty() && creditText.isEmpty())
                throw ImportError(QStringLiteral("Zeile %1: Die Buchung hat keinen Betrag.").arg(line));
            // a debit column holds the amount with or without its minus
            if (!debitText.isEmpty()) {
                const Money d = amountOf(debitText);
                e.amount -= d < Money() ? -d : d;
            }
            if (!creditText.isEmpty()) {
                const Money c = amountOf(creditText);
                e.amount += c < Money() ? -c : c;
            }
        }
        e.text = field(row, m.text);
        e.counterparty = field(row, m.counterparty);
        e.reference = Statement::cleanReference(field(row, m.reference));
        out.append(e);
    }
    return out;
}

} // namespace CsvStatement
