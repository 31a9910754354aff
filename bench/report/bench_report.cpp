// A printout of 50,000 bookings: a table row per record inside a SCAN (date, text, two
// money columns through FCUR) and a running SUM written in the footer. Measured against
// writing the same number of bytes with plain buffered writes, and against Jinja2
// rendering an equivalent plain-text template, both in the same run.

#include "report/ReportMemoryDataSet.h"
#include "report/TRtfReport.h"

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    ReportMemoryDataSet rows(QStringLiteral("qrBuchungen"));
    rows.addField(QStringLiteral("datum"), ReportDataSet::FieldKind::Date);
    rows.addField(QStringLiteral("text"), ReportDataSet::FieldKind::Text);
    rows.addField(QStringLiteral("soll"), ReportDataSet::FieldKind::Number);
    rows.addField(QStringLiteral("haben"), ReportDataSet::FieldKind::Number);
    const QDate start(2024, 1, 1);
    for (int i = 0; i < kRows; ++i)
        rows.addRow({start.addDays(i % 366), QStringLiteral("Buchung Nummer %1 für den Haushalt").arg(i),
                     (i % 1000) * 1.25 + 0.5, (i % 777) * 0.75});

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
    std::printf("plain buffered write of the same bytes: %.1f ms; report / write ratio %.1f (goal <= 10)\n", plainMs,
                engineMs / plainMs);

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kJinjaScript),
                                                      dir.filePath(QStringLiteral("jinja.txt"))});
    if (!python.waitForFinished(300000) || python.exitCode() != 0) {
        std::printf("Jinja2 comparison skipped (/usr/bin/python3 with python3-jinja2 not available)\n");
        return 0;
    }
    const double jinjaMs = python.readAllStandardOutput().trimmed().toDouble() * 1000.0;
    std::printf("Jinja2 plain-text rendering of the same rows: %.1f ms; Jinja2 / report ratio %.1f (goal >= 2)\n", jinjaMs,
                jinjaMs / engineMs);
    return 0;
}
