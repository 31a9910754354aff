#include "CsvDataSetReader.h"

#include "core/GermanFormat.h"
#include "report/ReportError.h"

#include <QDate>
#include <QFile>
#include <QTime>

#include <charconv>
#include <cmath>

namespace {

using Kind = ReportDataSet::FieldKind;

// Walks the decoded file record by record. Plain cells are views into the text; only a
// cell with quotes is copied, so a large file costs no allocation per cell.
class CsvCursor
{
public:
    CsvCursor(const QByteArray &text, const QString &fileLabel) : m_text(text), m_fileLabel(fileLabel) {}

    // The next record that is not blank; false at the end of the file.
    bool next(std::vector<QByteArrayView> &cells, int *line)
    {
        for (;;) {
            if (m_pos >= m_text.size())
                return false;
            *line = m_rowLine = m_line;
            readRecord(cells);
            if (!(cells.size() == 1 && cells[0].isEmpty()))
                return true;
        }
    }

private:
    void readRecord(std::vector<QByteArrayView> &cells)
    {
        cells.clear();
        m_quotedCells.clear();
        const qsizetype n = m_text.size();
        const char *data = m_text.constData();
        qsizetype start = m_pos;
        bool quotedCell = false;
        QByteArray cell;   // only for a cell with quotes
        bool quoted = false, wasQuoted = false;
        auto endCell = [&](qsizetype end) {
            if (quotedCell) {
                m_quotedCells.push_back(cell);
                cells.push_back(QByteArrayView());   // replaced below
                m_quotedIndex.push_back(cells.size() - 1);
                cell.clear();
            } else {
                cells.push_back(QByteArrayView(data + start, end - start));
            }
            quotedCell = quoted = wasQuoted = false;
        };
        m_quotedIndex.clear();
        qsizetype i = m_pos;
        for (; i < n; ++i) {
            const char c = data[i];
            if (quoted) {
                if (c == '"') {
                    if (i + 1 < n && data[i + 1] == '"') {
                        cell += '"';
                        ++i;
                    } else {
                        quoted = false;
                    }
                } else {
                    if (c == '\n')
                        ++m_line;
                    cell += c;
                }
                continue;
            }
            const bool cellEmpty = quotedCell ? cell.isEmpty() : i == start;
            if (c == '"' && cellEmpty && !wasQuoted) {
                quotedCell = quoted = wasQuoted = true;
            } else if (c == ',') {
                endCell(i);
                start = i + 1;
            } else if (c == '\r' && i + 1 < n && data[i + 1] == '\n') {
                if (quotedCell)
                    continue;
                // The carriage return ends the plain cell together with the line feed.
                endCell(i);
                ++i;
                ++m_line;
                m_pos = i + 1;
                finishQuoted(cells);
                return;
            } else if (c == '\n') {
                endCell(i);
                ++m_line;
                m_pos = i + 1;
                finishQuoted(cells);
                return;
            } else if (quotedCell) {
                cell += c;
            }
        }
        if (quoted)
            throw ReportError(QStringLiteral("%1, Zeile %2: Ein Anführungszeichen wird nicht geschlossen.").arg(m_fileLabel).arg(m_rowLine));
        endCell(i);
        m_pos = n;
        finishQuoted(cells);
    }

    void finishQuoted(std::vector<QByteArrayView> &cells)
    {
        for (size_t k = 0; k < m_quotedIndex.size(); ++k)
            cells[m_quotedIndex[k]] = m_quotedCells[k];
    }

    const QByteArray &m_text;
    const QString &m_fileLabel;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_rowLine = 1;
    std::vector<QByteArray> m_quotedCells;
    std::vector<size_t> m_quotedIndex;
};

// "yyyy-MM-dd" read by hand: a format string parsed for every cell of a large file
// costs more than the rest of the printout.
QByteArrayView trimmed(QByteArrayView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.sliced(b, e - b);
}

QDate isoDate(QByteArrayView s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return {};
    int parts[3] = {0, 0, 0};
    const qsizetype starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (qsizetype i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            const char c = s[i];
            if (c < '0' || c > '9')
                return {};
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

// "1234.56" read without the locale machinery of QString::toDouble, which costs more than
// the rest of a large file; anything unusual is left to toDouble, so both accept the same.
double number(QByteArrayView s, bool *ok)
{
    const char *begin = s.data();
    const char *last = s.data() + s.size();
    const bool plus = begin < last && *begin == '+';
    if (plus)
        ++begin;
    double v = 0;
    const auto [end, error] = std::from_chars(begin, last, v);
    if (begin < last && !(plus && *begin == '-') && error == std::errc() && end == last) {
        *ok = true;
        return v;
    }
    return QString::fromUtf8(s).toDouble(ok);
}

// The reason a cell is refused; the caller puts file, line and column in front.
QString cellError(const QString &cell, Kind kind)
{
    switch (kind) {
    case Kind::Number: return QStringLiteral("'%1' ist keine gültige Zahl (erwartet wie 1234.56).").arg(cell);
    case Kind::Date: return QStringLiteral("'%1' ist kein gültiges Datum (erwartet wie 2024-03-31).").arg(cell);
    case Kind::Time: return QStringLiteral("'%1' ist keine gültige Uhrzeit (erwartet wie 14:30:00).").arg(cell);
    case Kind::Boolean:
        return QStringLiteral("'%1' ist kein Wahrheitswert (erwartet 0, 1, true oder false).").arg(cell);
    default: break;
    }
    return {};
}

// The cell's value, or an invalid QVariant with *ok false when the cell does not fit.
QVariant convert(QByteArrayView cell, Kind kind, bool *ok)
{
    *ok = true;
    if (cell.isEmpty())
        return {};
    switch (kind) {
    case Kind::Number: {
        const double v = number(trimmed(cell), ok);
        *ok = *ok && std::isfinite(v);
        return v;
    }
    case Kind::Date: {
        const QDate d = isoDate(trimmed(cell));
        *ok = d.isValid();
        return d;
    }
    case Kind::Time: {
        const QTime t = QTime::fromString(QString::fromUtf8(trimmed(cell)), QStringLiteral("HH:mm:ss"));
        *ok = t.isValid();
        return t;
    }
    case Kind::Boolean: {
        const QString v = QString::fromUtf8(trimmed(cell)).toLower();
        if (v == u"1" || v == u"true")
            return true;
        if (v == u"0" || v == u"false")
            return false;
        *ok = false;
        return {};
    }
    default: break;
    }
    return QString::fromUtf8(cell);
}

} // namespace

std::unique_ptr<ReportMemoryDataSet> CsvDataSetReader::read(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(path));
    // Mapped rather than read: a large file is not copied once more before it is parsed.
    const qint64 size = file.size();
    if (size > 0 && size < (qint64(1) << 40)) {
        if (const uchar *mapped = file.map(0, size))
            return parse(QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), static_cast<qsizetype>(size)), name, path);
    }
    return parse(file.readAll(), name, path);
}

std::unique_ptr<ReportMemoryDataSet> CsvDataSetReader::parse(const QByteArray &bytes, const QString &name,
                                                             const QString &fileLabel)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    CsvCursor cursor(data, fileLabel);
    std::vector<QByteArrayView> cells;
    int line = 0;
    if (!cursor.next(cells, &line))
        throw ReportError(QStringLiteral("%1: Die erste Zeile mit den Spaltennamen fehlt.").arg(fileLabel));

    auto set = std::make_unique<ReportMemoryDataSet>(name);
    std::vector<Kind> kinds;
    for (QByteArrayView cell : cells) {
        QString column = QString::fromUtf8(cell);
        Kind kind = Kind::Text;
        static const std::pair<const char *, Kind> suffixes[] = {{":number", Kind::Number}, {":money", Kind::Number},
                                                                 {":date", Kind::Date},     {":time", Kind::Time},
                                                                 {":boolean", Kind::Boolean}};
        for (const auto &[suffix, k] : suffixes) {
            if (column.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
                column.chop(static_cast<qsizetype>(qstrlen(suffix)));
                kind = k;
                break;
            }
        }
        if (column.trimmed().isEmpty())
            throw ReportError(QStringLiteral("%1, Zeile 1: Eine Spalte hat keinen Namen.").arg(fileLabel));
        set->addField(column.trimmed(), kind);
        kinds.push_back(kind);
    }
    // Lines are an upper bound for records (quoted cells may span several).
    set->reserveRows(data.count('\n') + 1);
    while (cursor.next(cells, &line)) {
        if (cells.size() != kinds.size())
            throw ReportError(QStringLiteral("%1, Zeile %2: %3 Werte statt %4.")
                                  .arg(fileLabel)
                                  .arg(line)
                                  .arg(cells.size())
                                  .arg(kinds.size()));
        QVariantList values;
        values.reserve(static_cast<qsizetype>(kinds.size()));
        for (size_t c = 0; c < kinds.size(); ++c) {
            bool ok = true;
            values << convert(cells[c], kinds[c], &ok);
            if (!ok)
                throw ReportError(QStringLiteral("%1, Zeile %2, Spalte „%3“: %4")
                                      .arg(fileLabel)
                                      .arg(line)
                                      .arg(set->fieldName(static_cast<int>(c)), cellError(QString::fromUtf8(cells[c]), kinds[c])));
        }
        set->addRow(std::move(values));
    }
    set->first();
    return set;
}
