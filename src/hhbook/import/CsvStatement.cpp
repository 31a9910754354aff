#include "hhbook/import/CsvStatement.h"

#include "hhbook/import/CsvColumns.h"

#include <QHash>
#include <QRegularExpression>
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

bool blank(const QStringList &fields)
{
    return std::all_of(fields.cbegin(), fields.cend(), [](const QString &f) { return f.trimmed().isEmpty(); });
}

QString field(const QStringList &row, int column)
{
    return column >= 0 && column < row.size() ? row.at(column).simplified() : QString();
}

// The fields up to the last one with text: a trailing separator adds an empty field.
qsizetype width(const QStringList &fields)
{
    qsizetype n = fields.size();
    while (n > 0 && fields.at(n - 1).trimmed().isEmpty())
        --n;
    return n;
}

bool isDate(const QString &text)
{
    QDate d;
    return GermanFormat::tryParseDate(text, &d);
}

bool isAmount(const QString &text)
{
    Money m;
    return !text.trimmed().isEmpty() && GermanFormat::tryParseMoney(text, &m);
}

// A title above a table of orders not yet booked ("Umsätze in den nächsten 14 Tagen").
bool announcesScheduled(const QStringList &fields)
{
    static const QRegularExpression words(
        QStringLiteral(R"(nächsten|vorgemerkt|vormerkung|geplant|terminiert|zukünftig|pending|scheduled|upcoming)"),
        QRegularExpression::CaseInsensitiveOption);
    return width(fields) <= 2 && words.match(fields.join(u' ')).hasMatch();
}

bool isBalance(const QString &text)
{
    if (text.size() > 40 || !(text.contains(QLatin1String("saldo"), Qt::CaseInsensitive)
                              || text.contains(QLatin1String("kontostand"), Qt::CaseInsensitive)
                              || text.contains(QLatin1String("bestand"), Qt::CaseInsensitive)
                              || text.contains(QLatin1String("balance"), Qt::CaseInsensitive)))
        return false;
    static const QRegularExpression balance(
        QStringLiteral(R"(^(alter |neuer |aktueller )?(kontostand|saldo|anfangssaldo|endsaldo|schlusssaldo|)"
                       R"(anfangsbestand|endbestand|opening balance|closing balance|balance)( (vom|am|per|zum) .*)?:?$)"),
        QRegularExpression::CaseInsensitiveOption);
    return balance.match(text.simplified()).hasMatch();
}

bool isPending(const QString &text)
{
    if (text.size() > 30)
        return false;
    static const QRegularExpression pending(
        QStringLiteral(R"(^(umsatz |buchung )?(vorgemerkt|vormerkung|pending|nicht gebucht|ungebucht)$)"),
        QRegularExpression::CaseInsensitiveOption);
    return pending.match(text.simplified()).hasMatch();
}

bool isScheduled(const QString &text)
{
    static const QRegularExpression scheduled(QStringLiteral(R"(termin(überweisung|ueberweisung|auftrag|lastschrift)|scheduled)"),
                                              QRegularExpression::CaseInsensitiveOption);
    return scheduled.match(text).hasMatch();
}

} // namespace

QString ColumnMapping::missing() const
{
    QStringList what;
    if (date < 0)
        what << QStringLiteral("Buchungsdatum");
    if (amount < 0 && debit < 0 && credit < 0)
        what << QStringLiteral("Betrag (oder Soll und Haben)");
    if (text < 0 && counterparty < 0 && payer < 0 && payee < 0)
        what << QStringLiteral("Verwendungszweck oder Empfänger");
    if (what.isEmpty())
        return {};
    return QStringLiteral("Bitte die Spalten zuordnen: %1.").arg(what.join(QStringLiteral(", ")));
}

namespace {

const QList<QPair<const char *, int ColumnMapping::*>> &storedNames()
{
    static const QList<QPair<const char *, int ColumnMapping::*>> names = {
        {"date", &ColumnMapping::date},
        {"valuedate", &ColumnMapping::valueDate},
        {"amount", &ColumnMapping::amount},
        {"debit", &ColumnMapping::debit},
        {"credit", &ColumnMapping::credit},
        {"indicator", &ColumnMapping::indicator},
        {"text", &ColumnMapping::text},
        {"counterparty", &ColumnMapping::counterparty},
        {"payer", &ColumnMapping::payer},
        {"payee", &ColumnMapping::payee},
        {"reference", &ColumnMapping::reference},
        {"currency", &ColumnMapping::currency},
        {"foreignamount", &ColumnMapping::foreignAmount},
        {"foreigncurrency", &ColumnMapping::foreignCurrency},
    };
    return names;
}

} // namespace

QString ColumnMapping::toText() const
{
    QStringList parts;
    for (const auto &[name, member] : storedNames())
        parts << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(this->*member);
    return parts.join(u';');
}

ColumnMapping ColumnMapping::fromText(const QString &text)
{
    ColumnMapping m;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList kv = part.split(u'=');
        bool ok = false;
        const int v = kv.value(1).toInt(&ok);
        if (kv.size() != 2 || !ok)
            continue;
        for (const auto &[name, member] : storedNames())
            if (kv.first() == QLatin1String(name))
                m.*member = v;
    }
    return m;
}

QString decode(const QByteArray &bytes, QString *encoding)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        if (encoding)
            *encoding = QStringLiteral("UTF-16");
        return QString(utf16.decode(bytes.mid(2)));
    }
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

    // The header is found by its words: the line that names the most known columns, a
    // date and an amount among them, under whichever separator gives it.
    constexpr qsizetype HeaderSearch = 200;
    int bestScore = 0;
    QVector<Record> best;
    QVector<qsizetype> headers;   // every line of the best separator that is a header
    for (QChar sep : {QChar(u';'), QChar(u'\t'), QChar(u',')}) {
        QVector<Record> recs = records(text, sep);
        int score = 0;
        QVector<qsizetype> found;
        for (qsizetype i = 0; i < recs.size(); ++i) {
            if (found.isEmpty() && i >= HeaderSearch)
                break;
            const int s = recs.at(i).fields.size() >= 3 ? headerScore(recs.at(i).fields) : 0;
            if (s > 0)
                found.append(i);
            score = std::max(score, s);
        }
        if (score > bestScore) {
            bestScore = score;
            best = std::move(recs);
            headers = found;
            t.separator = sep;
        }
    }

    qsizetype headerAt = -1, end = -1;
    if (bestScore > 0) {
        // Several tables (orders of the next days above the booked ones): the booked table
        // with the most rows; rows of a table of orders for later are counted as left out.
        qsizetype bestRows = -1;
        for (qsizetype h = 0; h < headers.size(); ++h) {
            const qsizetype from = headers.at(h) + 1;
            const qsizetype to = h + 1 < headers.size() ? headers.at(h + 1) : best.size();
            qsizetype dated = 0;
            for (qsizetype i = from; i < to && headers.size() > 1; ++i)
                dated += best.at(i).fields.size() > 1 && std::any_of(best.at(i).fields.cbegin(), best.at(i).fields.cend(),
                                                                     [](const QString &f) { return isDate(f); });
            const bool scheduled = headers.at(h) > 0 && announcesScheduled(best.at(headers.at(h) - 1).fields);
            if (scheduled) {
                t.scheduled += static_cast<int>(dated);
            } else if (dated > bestRows) {
                bestRows = dated;
                headerAt = headers.at(h);
                end = to;
            }
        }
        if (headerAt < 0) {   // only orders for later: show them, counted as such
            headerAt = headers.first();
            end = headers.size() > 1 ? headers.at(1) : best.size();
            t.scheduled = 0;
        }
    } else {
        // No known words: the separator that gives the most lines of one and the same width
        // (three fields at least), the header the first of them with no date or amount.
        int bestCount = 0;
        qsizetype bestWidth = 0;
        for (QChar sep : {QChar(u';'), QChar(u'\t'), QChar(u',')}) {
            const QVector<Record> recs = records(text, sep);
            QHash<qsizetype, int> widths;
            for (const Record &r : recs)
                if (width(r.fields) >= 3)
                    ++widths[width(r.fields)];
            qsizetype w = 0;
            int count = 0;
            for (auto it = widths.cbegin(); it != widths.cend(); ++it)
                if (it.value() > count || (it.value() == count && it.key() > w)) {
                    w = it.key();
                    count = it.value();
                }
            if (count > bestCount) {
                bestCount = count;
                bestWidth = w;
                best = recs;
                t.separator = sep;
            }
        }
        if (bestCount < 2)
            throw ImportError(QStringLiteral("In der Datei wurde keine Tabelle mit Buchungen gefunden."));
        for (qsizetype i = 0; i < best.size() && headerAt < 0; ++i) {
            const QStringList &f = best.at(i).fields;
            if (width(f) < bestWidth || blank(f))
                continue;
            if (std::none_of(f.cbegin(), f.cend(), [](const QString &v) { return isDate(v) || isAmount(v); }))
                headerAt = i;
        }
        if (headerAt < 0)
            throw ImportError(QStringLiteral("In der Datei wurde keine Kopfzeile mit Spaltennamen gefunden."));
        end = best.size();
    }

    // A trailing separator gives the header an empty last field; a column without a name
    // (an S/H indicator) is one where rows hold something.
    const QStringList &head = best.at(headerAt).fields;
    qsizetype named = width(head);
    while (named < head.size()) {
        bool used = false;
        for (qsizetype i = headerAt + 1; i < end && !used; ++i)
            used = !field(best.at(i).fields, static_cast<int>(named)).isEmpty();
        if (!used)
            break;
        ++named;
    }
    for (qsizetype i = 0; i < named; ++i)
        t.header << head.at(i).trimmed();
    for (qsizetype i = 0; i < headerAt; ++i)
        t.preamble << best.at(i).fields.join(u' ').simplified();
    const qsizetype columns = t.header.size();
    for (qsizetype i = headerAt + 1; i < end; ++i) {
        QStringList row = best.at(i).fields;
        // a trailing separator on every line is no column of its own
        while (row.size() > columns && row.last().trimmed().isEmpty())
            row.removeLast();
        if (!row.isEmpty() && row.size() < columns && !blank(row)) {
            // a short line with a date is a booking with empty fields at its end
            if (isDate(row.first()) || (row.size() > 1 && isDate(row.at(1))))
                while (row.size() < columns)
                    row.append(QString());
        }
        t.rows.append(row);
        t.lines.append(best.at(i).line);
    }
    return t;
}

QString headerKey(const Table &table)
{
    return table.header.join(table.separator);
}

QVector<StatementEntry> entries(const Table &table, const ColumnMapping &m, LeftOut *leftOut)
{
    if (const QString missing = m.missing(); !missing.isEmpty())
        throw ImportError(missing);
    LeftOut skipped;
    skipped.scheduled = table.scheduled;
    const auto width = table.header.size();
    const QList<int> amountColumns = {m.amount, m.debit, m.credit};

    // Amounts with a decimal point ("-42.0", "1234.56") where no amount has a comma.
    bool comma = false, point = false;
    static const QRegularExpression pointDecimal(QStringLiteral(R"(\.\d{1,2}\s*(€|EUR)?-?$)"));
    for (const QStringList &row : table.rows)
        for (int c : amountColumns) {
            const QString v = field(row, c);
            comma = comma || v.contains(u',');
            point = point || pointDecimal.match(v).hasMatch();
        }
    const auto mark = point && !comma ? GermanFormat::DecimalMark::Point : GermanFormat::DecimalMark::Comma;

    QVector<StatementEntry> out;
    out.reserve(table.rows.size());
    for (qsizetype i = 0; i < table.rows.size(); ++i) {
        const QStringList &row = table.rows.at(i);
        const int line = table.lines.at(i);
        if (blank(row))
            continue;
        const QString dateText = field(row, m.date);
        QDate date;
        GermanFormat::tryParseDate(dateText, &date);
        const QString amountText = field(row, m.amount);
        const QString debitText = field(row, m.debit);
        const QString creditText = field(row, m.credit);
        const bool hasAmount = !amountText.isEmpty() || !debitText.isEmpty() || !creditText.isEmpty();

        // Lines that are no bookings: balances, pending and scheduled ones.
        bool balance = false, pending = false, scheduled = false;
        for (int c = 0; c < row.size(); ++c) {
            if (amountColumns.contains(c))
                continue;
            balance = balance || isBalance(row.at(c));
            pending = pending || isPending(row.at(c));
            scheduled = scheduled || (!date.isValid() && isScheduled(row.at(c)));
        }
        if (balance && (hasAmount || row.size() < width)) {
            ++skipped.balances;
            continue;
        }
        if (pending) {
            ++skipped.pending;
            continue;
        }
        if (scheduled && hasAmount) {
            ++skipped.scheduled;
            continue;
        }

        if (row.size() != width) {
            // a total under the table is shorter and carries no booking date
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
                continue;   // a line of words under the table
            throw ImportError(QStringLiteral("Zeile %1: '%2' ist kein gültiges Datum.").arg(line).arg(dateText));
        }
        StatementEntry e;
        e.bookingDate = date;
        if (!GermanFormat::tryParseDate(field(row, m.valueDate), &e.valueDate))
            e.valueDate = date;
        auto amountOf = [&](const QString &t) {
            Money v;
            if (!GermanFormat::tryParseMoney(t, &v, mark))
                throw ImportError(QStringLiteral("Zeile %1: '%2' ist kein gültiger Betrag.").arg(line).arg(t));
            return v;
        };
        auto absolute = [](Money v) { return v < Money() ? -v : v; };
        if (m.amount >= 0) {
            if (amountText.isEmpty())
                throw ImportError(QStringLiteral("Zeile %1: Die Buchung hat keinen Betrag.").arg(line));
            e.amount = amountOf(amountText);
            if (m.indicator >= 0) {
                const QString sh = field(row, m.indicator);
                const int sign = indicatorSign(sh);
                if (sign == 0 && !sh.isEmpty())
                    throw ImportError(QStringLiteral("Zeile %1: '%2' ist kein Soll/Haben-Kennzeichen (S oder H).")
                                          .arg(line).arg(sh));
                if (sign != 0)
                    e.amount = sign < 0 ? -absolute(e.amount) : absolute(e.amount);
            }
        } else {
            if (debitText.isEmpty() && creditText.isEmpty())
                throw ImportError(QStringLiteral("Zeile %1: Die Buchung hat keinen Betrag.").arg(line));
            // a debit column holds the amount with or without its minus
            if (!debitText.isEmpty())
                e.amount -= absolute(amountOf(debitText));
            if (!creditText.isEmpty())
                e.amount += absolute(amountOf(creditText));
        }
        e.text = field(row, m.text);
        e.counterparty = field(row, m.counterparty);
        if (m.payer >= 0 || m.payee >= 0) {
            const QString other = field(row, e.amount < Money() ? m.payee : m.payer);
            if (!other.isEmpty() || e.counterparty.isEmpty())
                e.counterparty = other;
        }
        e.reference = Statement::cleanReference(field(row, m.reference));
        const QString currency = field(row, m.currency).toUpper();
        if (!currency.isEmpty() && currency != u"EUR" && currency != u"€")
            e.currency = currency;
        const QString foreignCurrency = field(row, m.foreignCurrency).toUpper();
        Money foreign;
        if (e.inEuro() && !foreignCurrency.isEmpty() && foreignCurrency != u"EUR"
            && GermanFormat::tryParseMoney(field(row, m.foreignAmount), &foreign, mark))
            e.foreign = GermanFormat::number(absolute(foreign).toDouble(), 2) + u' ' + foreignCurrency;
        out.append(e);
    }
    if (leftOut)
        *leftOut = skipped;
    return out;
}

} // namespace CsvStatement
