#include "CsvDataSetReader.h"

#include "core/GermanFormat.h"
#include "report/ReportError.h"

#include <QDate>
#include <QFile>
#include <QTime>

#include <cmath>

namespace {

using Kind = ReportDataSet::FieldKind;

struct Row
{
    QStringList cells;
    int line = 0;
};

std::vector<Row> splitRows(const QString &text, const QString &fileLabel)
{
    std::vector<Row> rows;
    Row row;
    QString cell;
    bool quoted = false, wasQuoted = false;
    int line = 1;
    row.line = 1;
    const qsizetype n = text.size();
    auto endCell = [&]() {
        row.cells << cell;
        cell.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                cell += c;
            }
            continue;
        }
        if (c == u'"' && cell.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            endCell();
        } else if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            continue;
        } else if (c == u'\n') {
            endCell();
            if (!(row.cells.size() == 1 && row.cells[0].isEmpty()))
                rows.push_back(row);
            row = Row();
            row.line = ++line;
        } else {
            cell += c;
        }
    }
    if (quoted)
        throw ReportError(QStringLiteral("%1, Zeile %2: Ein Anführungszeichen wird nicht geschlossen.").arg(fileLabel).arg(row.line));
    endCell();
    if (!(row.cells.size() == 1 && row.cells[0].isEmpty()))
        rows.push_back(row);
    return rows;
}

// "yyyy-MM-dd" read by hand: a format string parsed for every cell of a large file
// costs more than the rest of the printout.
QDate isoDate(QStringView s)
{
    if (s.size() != 10 || s[4] != u'-' || s[7] != u'-')
        return {};
    int parts[3] = {0, 0, 0};
    const qsizetype starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (qsizetype i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            const char16_t c = s[i].unicode();
            if (c < u'0' || c > u'9')
                return {};
            parts[p] = parts[p] * 10 + (c - u'0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
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
QVariant convert(const QString &cell, Kind kind, bool *ok)
{
    *ok = true;
    if (cell.isEmpty())
        return {};
    switch (kind) {
    case Kind::Number: {
        const double v = QStringView(cell).trimmed().toDouble(ok);
        *ok = *ok && std::isfinite(v);
        return v;
    }
    case Kind::Date: {
        const QDate d = isoDate(QStringView(cell).trimmed());
        *ok = d.isValid();
        return d;
    }
    case Kind::Time: {
        const QTime t = QTime::fromString(cell.trimmed(), QStringLiteral("HH:mm:ss"));
        *ok = t.isValid();
        return t;
    }
    case Kind::Boolean: {
        const QString v = cell.trimmed().toLower();
        if (v == u"1" || v == u"true")
            return true;
        if (v == u"0" || v == u"false")
            return false;
        *ok = false;
        return {};
    }
    default: break;
    }
    return cell;
}

} // namespace

std::unique_ptr<ReportMemoryDataSet> CsvDataSetReader::read(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(path));
    return parse(file.readAll(), name, path);
}

std::unique_ptr<ReportMemoryDataSet> CsvDataSetReader::parse(const QByteArray &bytes, const QString &name,
                                                             const QString &fileLabel)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const std::vector<Row> rows = splitRows(QString::fromUtf8(data), fileLabel);
    if (rows.empty())
        throw ReportError(QStringLiteral("%1: Die erste Zeile mit den Spaltennamen fehlt.").arg(fileLabel));

    auto set = std::make_unique<ReportMemoryDataSet>(name);
    std::vector<Kind> kinds;
    for (QString column : rows[0].cells) {
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
    for (size_t r = 1; r < rows.size(); ++r) {
        const Row &row = rows[r];
        if (row.cells.size() != static_cast<qsizetype>(kinds.size()))
            throw ReportError(QStringLiteral("%1, Zeile %2: %3 Werte statt %4.")
                                  .arg(fileLabel)
                                  .arg(row.line)
                                  .arg(row.cells.size())
                                  .arg(kinds.size()));
        QVariantList values;
        values.reserve(static_cast<qsizetype>(kinds.size()));
        for (size_t c = 0; c < kinds.size(); ++c) {
            const QString &cell = row.cells[static_cast<qsizetype>(c)];
            bool ok = true;
            values << convert(cell, kinds[c], &ok);
            if (!ok)
                throw ReportError(QStringLiteral("%1, Zeile %2, Spalte „%3“: %4")
                                      .arg(fileLabel)
                                      .arg(row.line)
                                      .arg(set->fieldName(static_cast<int>(c)), cellError(cell, kinds[c])));
        }
        set->addRow(values);
    }
    set->first();
    return set;
}
