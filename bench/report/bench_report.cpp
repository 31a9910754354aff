// A printout of 50,000 bookings: a table row per record inside a SCAN (date, text, two
// money columns through FCUR) and a running SUM written in the footer. Measured against
// writing the same number of bytes with plain buffered writes, against Jinja2 rendering an
// equivalent plain-text template, and against rtfreport doing the same from CSV, all in the
// same run. Memory is measured in child processes of this program: the peak of a printout of
// 200,000 records, and the peak per field of a template made of nothing but fields.

#include "report/ReportMemoryDataSet.h"
#include "report/TRtfReport.h"

#include <QDir>

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 50000;
constexpr int kRepeats = 3;
constexpr int kMemoryRows = 200000;
constexpr int kHostileFields = 1000000;

const char *kTemplate =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
    "\\f0\\fs20 Haushaltsbuch \\\\ekName\\\\\\par\n"
    "\\\\SCAN(A),SUM(A:soll,summe)\\\\"
    "\\trowd\\cellx1800\\cellx6000\\cellx8000\\cellx10000\\pard\\intbl \\\\A:datum\\\\\\cell "
    "\\\\A:text\\\\\\cell \\qr \\\\FCUR(A:soll)\\\\\\cell \\\\FCUR(A:haben)\\\\\\cell\\row\n"
    "\\\\SCANFOOTER\\\\\\pard Summe: \\\\FCUR(summe)\\\\\\par\n"
    "\\\\ENDSCAN\\\\}";

// Rendered by Jinja2 over the same rows; prints the seconds the rendering took.
const char *kJinjaScript = R"PY(
import datetime, sys, time
import jinja2
def cur(v):
    s = f"{v:,.2f}".replace(",", "X").replace(".", ",").replace("X", ".")
    return s + "\u00a0\u20ac"
rows = []
d0 = datetime.date(2024, 1, 1)
for i in range(50000):
    rows.append({"datum": d0 + datetime.timedelta(days=i % 366), "text": f"Buchung Nummer {i} für den Haushalt",
                 "soll": (i % 1000) * 1.25 + 0.5, "haben": (i % 777) * 0.75})
src = ("Haushaltsbuch {{ name }}\n{% set ns = namespace(summe=0) %}"
       "{% for r in rows %}{% set ns.summe = ns.summe + r.soll %}"
       "{{ r.datum.strftime('%d.%m.%Y') }}\t{{ r.text }}\t{{ r.soll|cur }}\t{{ r.haben|cur }}\n"
       "{% endfor %}Summe: {{ ns.summe|cur }}\n")
best = None
for _ in range(3):
    t = time.perf_counter()
    env = jinja2.Environment()
    env.filters["cur"] = cur
    out = env.from_string(src).render(name="Müller", rows=rows)
    with open(sys.argv[1], "w", encoding="utf-8") as f:
        f.write(out)
    e = time.perf_counter() - t
    best = e if best is None else min(best, e)
print(best)
)PY";

double bestOf(const std::vector<double> &times)
{
    return *std::min_element(times.begin(), times.end());
}

// VmHWM (peak) or VmRSS of this process in bytes.
qint64 memoryOfThisProcess(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

void fillRows(ReportMemoryDataSet &rows, int count)
{
    rows.addField(QStringLiteral("datum"), ReportDataSet::FieldKind::Date);
    rows.addField(QStringLiteral("text"), ReportDataSet::FieldKind::Text);
    rows.addField(QStringLiteral("soll"), ReportDataSet::FieldKind::Number);
    rows.addField(QStringLiteral("haben"), ReportDataSet::FieldKind::Number);
    const QDate start(2024, 1, 1);
    for (int i = 0; i < count; ++i)
        rows.addRow({start.addDays(i % 366), QStringLiteral("Buchung Nummer %1 für den Haushalt").arg(i),
                     (i % 1000) * 1.25 + 0.5, (i % 777) * 0.75});
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Child: a printout of `count` records held in memory, written to a file. Prints the peak
// memory of the whole process in bytes, the rows included.
int childPrintout(const QString &dir, int count)
{
    ReportMemoryDataSet rows(QStringLiteral("qrBuchungen"));
    fillRows(rows, count);
    TRtfReport report;
    report.setVarList({QStringLiteral("ekName=Müller")});
    report.setInFile(QDir(dir).filePath(QStringLiteral("Haushaltsbuch.rtf")));
    report.setOutFile(QDir(dir).filePath(QStringLiteral("gross.rtf")));
    report.RunReport({&rows});
    std::printf("%lld\n", static_cast<long long>(memoryOfThisProcess("VmHWM:")));
    return 0;
}

// The kinds of templates made of nothing but fields: four fields repeated, and three kinds
// in which each field is written differently.
const char *const kFieldKinds[] = {"repeated", "distinct", "variables", "expressions"};
const char *kindLabel(const char *kind)
{
    const QByteArray k(kind);
    return k == "repeated" ? "four repeated"
         : k == "distinct" ? "each different (names and names with text)"
         : k == "variables" ? "each a different variable"
                            : "each a different expression over a column";
}

// Child: a template made of `count` fields of `kind` and little else between them. Prints
// the memory before the run, the peak during it, and the template's size, in bytes.
int childFields(const QString &dir, int count, const QString &kind)
{
    const QString path = QDir(dir).filePath(QStringLiteral("felder.rtf"));
    QStringList variables = {QStringLiteral("ekName=Müller"), QStringLiteral("ekOrt=Köln")};
    {
        QByteArray rtf = "{\\rtf1\\ansi ";
        rtf.reserve(qsizetype(count) * 24 + 64);
        const char *fields[] = {"\\\\ekName\\\\ ", "\\\\ekOrt\\\\, ", "\\\\tippfehler\\\\ ", "\\\\FFIX(1.5)\\\\ "};
        for (int i = 0; i < count; ++i) {
            const QByteArray n = QByteArray::number(i);
            if (kind == u"repeated")
                rtf.append(fields[i % 4]);
            else if (kind == u"variables")   // every field a variable of its own
                rtf.append("\\\\ekVar" + n + "\\\\ ");
            else if (kind == u"expressions")   // a small expression over a column
                rtf.append("\\\\FNUM(A:Betrag+" + n + ")\\\\ ");
            else if (i % 2)   // names of the report and names of nothing
                rtf.append("\\\\ekOrt+'" + n + "'\\\\ ");
            else
                rtf.append("\\\\t" + n + "\\\\ ");
        }
        rtf.append('}');
        if (!writeFile(path, rtf))
            return 1;
    }
    if (kind == u"variables")
        for (int i = 0; i < count; ++i)
            variables << QStringLiteral("ekVar%1=Wert %1").arg(i);
    ReportMemoryDataSet rows(QStringLiteral("qrBuchungen"));
    rows.addField(QStringLiteral("Betrag"), ReportDataSet::FieldKind::Number);
    rows.addRow({12.5});
    TRtfReport report;
    report.setVarList(variables);
    report.setInFile(path);
    report.setOutFile(QDir(dir).filePath(QStringLiteral("felder-aus.rtf")));
    // The peak counts from here: making the template and the variables is not the run's.
    if (QFile refs(QStringLiteral("/proc/self/clear_refs")); refs.open(QIODevice::WriteOnly))
        refs.write("5");
    const qint64 before = memoryOfThisProcess("VmRSS:");
    report.RunReport({&rows});
    std::printf("%lld %lld %lld\n", static_cast<long long>(before), static_cast<long long>(memoryOfThisProcess("VmHWM:")),
                static_cast<long long>(QFileInfo(path).size()));
    return 0;
}

QByteArray runChild(const QStringList &args)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return {};
    return child.readAllStandardOutput().trimmed();
}

QByteArray csvOf(const ReportMemoryDataSet &, int count)
{
    QByteArray csv = "datum:date,text,soll:money,haben:money\n";
    const QDate start(2024, 1, 1);
    for (int i = 0; i < count; ++i) {
        csv += start.addDays(i % 366).toString(Qt::ISODate).toLatin1() + ",Buchung Nummer " + QByteArray::number(i)
               + " f\xc3\xbcr den Haushalt," + QByteArray::number((i % 1000) * 1.25 + 0.5) + ','
               + QByteArray::number((i % 777) * 0.75) + '\n';
    }
    return csv;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"--printout")
        return childPrintout(args[2], args[3].toInt());
    if (args.size() == 5 && args[1] == u"--fields")
        return childFields(args[2], args[3].toInt(), args[4]);
    QTemporaryDir dir;

    ReportMemoryDataSet rows(QStringLiteral("qrBuchungen"));
    fillRows(rows, kRows);

    const QString templatePath = dir.filePath(QStringLiteral("Haushaltsbuch.rtf"));
    const QString outPath = dir.filePath(QStringLiteral("abHaushaltsbuch.rtf"));
    {
        QFile t(templatePath);
        if (!t.open(QIODevice::WriteOnly))
            return 1;
        t.write(kTemplate);
    }

    TRtfReport report;
    report.setVarList({QStringLiteral("ekName=Müller")});
    report.setInFile(templatePath);
    report.setOutFile(outPath);
    std::vector<double> engine;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        report.RunReport({&rows});
        engine.push_back(timer.nsecsElapsed() / 1e6);
    }
    const qint64 bytes = QFileInfo(outPath).size();

    // The same number of bytes, written with plain buffered writes of one row's size.
    const qint64 rowSize = std::max<qint64>(1, bytes / kRows);
    const QByteArray chunk(rowSize, 'x');
    const QByteArray plainPath = dir.filePath(QStringLiteral("plain.bin")).toLocal8Bit();
    std::vector<double> plain;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        FILE *f = std::fopen(plainPath.constData(), "wb");
        if (!f)
            return 1;
        for (qint64 written = 0; written < bytes; written += rowSize)
            std::fwrite(chunk.constData(), 1, static_cast<size_t>(std::min(rowSize, bytes - written)), f);
        std::fclose(f);
        plain.push_back(timer.nsecsElapsed() / 1e6);
    }

    const double engineMs = bestOf(engine);
    const double plainMs = bestOf(plain);
    std::printf("RTF report over %d records: %.1f ms, output %.1f MB\n", kRows, engineMs, bytes / 1048576.0);
    std::printf("plain buffered write of the same bytes: %.1f ms; report / write ratio %.1f (goal <= 6)\n", plainMs,
                engineMs / plainMs);

    // rtfreport end to end: reading the CSV, the run and the process, against the engine alone.
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/rtfreport");
    const QString csvPath = dir.filePath(QStringLiteral("buchungen.csv"));
    if (QFileInfo(tool).isExecutable() && writeFile(csvPath, csvOf(rows, kRows))) {
        std::vector<double> command;
        for (int i = 0; i < kRepeats; ++i) {
            QElapsedTimer timer;
            timer.start();
            QProcess p;
            p.start(tool, {templatePath, dir.filePath(QStringLiteral("tool.rtf")), QStringLiteral("--var"),
                           QStringLiteral("ekName=Müller"), QStringLiteral("--data"), QStringLiteral("qrBuchungen=") + csvPath});
            if (!p.waitForFinished(300000) || p.exitCode() != 0) {
                std::printf("rtfreport failed: %s\n", p.readAllStandardError().constData());
                return 1;
            }
            command.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("rtfreport end to end from CSV: %.1f ms; rtfreport / engine ratio %.1f (goal <= 3)\n", bestOf(command),
                    bestOf(command) / engineMs);
    } else {
        std::printf("rtfreport comparison skipped (%s not built)\n", qPrintable(tool));
    }

    // Memory, each in a fresh process.
    const QByteArray printoutPeak = runChild({QStringLiteral("--printout"), dir.path(), QString::number(kMemoryRows)});
    if (!printoutPeak.isEmpty())
        std::printf("printout of %d records: peak memory %.1f MB (goal < 100)\n", kMemoryRows,
                    printoutPeak.toLongLong() / 1048576.0);
    for (const char *kind : kFieldKinds) {
        const QList<QByteArray> fields =
            runChild({QStringLiteral("--fields"), dir.path(), QString::number(kHostileFields), QLatin1String(kind)}).split(' ');
        if (fields.size() != 3) {
            std::printf("template of %d %s fields: the run failed\n", kHostileFields, kind);
            continue;
        }
        const double perField = double(fields[1].toLongLong() - fields[0].toLongLong()) / kHostileFields;
        const double templateBytes = fields[2].toDouble() / kHostileFields;
        std::printf("template of %d fields, %s (%.0f bytes each): %.0f bytes of peak memory per field, the template's own "
                    "bytes included (goal < 200); 6.5 million such fields would take %.2f GB\n",
                    kHostileFields, kindLabel(kind), templateBytes, perField, (perField * 6.5e6 + fields[0].toDouble()) / 1073741824.0);
    }

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kJinjaScript),
                                                      dir.filePath(QStringLiteral("jinja.txt"))});
    if (!python.waitForFinished(300000) || python.exitCode() != 0) {
        std::printf("Jinja2 comparison skipped (/usr/bin/python3 with python3-jinja2 not available)\n");
        return 0;
    }
    const double jinjaMs = python.readAllStandardOutput().trimmed().toDouble() * 1000.0;
    std::printf("Jinja2 plain-text rendering of the same rows: %.1f ms; Jinja2 / report ratio %.1f (goal >= 3)\n", jinjaMs,
                jinjaMs / engineMs);
    return 0;
}
