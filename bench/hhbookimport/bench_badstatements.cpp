// Files that are no statement must end at once: an XML entity used 25,000 times, an external
// entity, a PDF, random bytes and an HTML page of 20 MB, a CSV above 100,000 rows and a file
// above 20 MB. Each refusal is timed next to reading a real statement of 1,000 bookings in
// the same run; the peak memory of the process is printed beside.
#include "BenchTiming.h"
#include "data/Database.h"
#include "hhbook/import/StatementImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

QByteArray entities()
{
    QByteArray x = "<?xml version=\"1.0\"?>\n<!DOCTYPE Document [<!ENTITY x \"" + QByteArray(4000, 'x')
                   + "\">]>\n<Document><BkToCstmrStmt><Stmt><Ntry><AddtlNtryInf>";
    for (int i = 0; i < 25000; ++i)
        x += "&x;";
    return x + "</AddtlNtryInf></Ntry></Stmt></BkToCstmrStmt></Document>";
}

QByteArray filled(const QByteArray &head, qsizetype size, bool random)
{
    QByteArray b = head;
    b.reserve(size);
    quint32 seed = 12345;
    while (b.size() < size) {
        seed = seed * 1103515245u + 12345u;
        b.append(random ? char(seed >> 24) : "<tr><td>01.01.2024</td><td>-1,00</td></tr>\n"[b.size() % 43]);
    }
    return b;
}

long peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Database db;
    db.open(dir.path());

    auto write = [&](const QString &name, const QByteArray &content) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return f.fileName();
    };
    QByteArray good = "Buchungstag;Verwendungszweck;Betrag\n";
    for (int i = 0; i < 1000; ++i)
        good += QStringLiteral("%1;Einkauf %2;-%3,%4\n").arg(QDate(2024, 1, 1).addDays(i % 365).toString("dd.MM.yyyy"))
                    .arg(i).arg(i % 90 + 1).arg(i % 100, 2, 10, QLatin1Char('0')).toUtf8();
    const QString goodFile = write("gut.csv", good);
    QByteArray many = "Buchungstag;Verwendungszweck;Betrag\n";
    for (int i = 0; i <= 100000; ++i)
        many += "01.01.2024;A;-1,00\n";
    QFile large(dir.filePath("gross.csv"));
    large.open(QIODevice::WriteOnly);
    large.resize(25 * 1024 * 1024);
    large.close();

    const QList<QPair<const char *, QString>> bad = {
        {"entity used 25,000 times", write("laughs.xml", entities())},
        {"external entity", write("extern.xml", "<?xml version=\"1.0\"?><!DOCTYPE Document [<!ENTITY x SYSTEM "
                                                "\"file:///etc/passwd\">]><Document>&x;</Document>")},
        {"PDF, 20 MB", write("a.pdf", filled("%PDF-1.7\n", 20 * 1024 * 1024 - 1, true))},
        {"random bytes, 20 MB", write("a.bin", filled({}, 20 * 1024 * 1024 - 1, true))},
        {"HTML page, 20 MB", write("a.html", filled("<!DOCTYPE html><html><body><table>", 20 * 1024 * 1024 - 1, false))},
        {"CSV of 100,001 rows", write("many.csv", many)},
        {"file of 25 MB", large.fileName()},
    };

    const double baseline = BenchTiming::bestOf(3, [&] { StatementImport::readFile(db, goodFile); });
    std::printf("badstatements: refusals next to reading a CSV statement of 1,000 bookings (%.1f ms)\n", baseline);
    bool ok = true;
    for (const auto &[what, file] : bad) {
        QString message;
        const double ms = BenchTiming::bestOf(3, [&] {
            try {
                StatementImport::readFile(db, file);
            } catch (const ImportError &e) {
                message = e.message();
            }
        });
        ok = ok && !message.isEmpty() && ms < 1000;
        std::printf("  %-26s %8.1f ms  ratio %5.2fx  peak %ld MB  %s\n", what, ms, ms / baseline, peakMegabytes(),
                    message.isEmpty() ? "NOT REFUSED" : "refused");
    }
    std::printf("  every refusal %s 1 s, peak memory of the whole run %ld MB\n", ok ? "under" : "NOT under",
                peakMegabytes());
    return ok ? 0 : 1;
}
