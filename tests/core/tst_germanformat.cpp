#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "core/SqlText.h"

#include <QTest>

using namespace GermanFormat;

class TestGermanFormat : public QObject
{
    Q_OBJECT
private slots:
    void currencyBytes_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const QString nb(QChar(0x00A0));
        QTest::newRow("thousands") << 1234.56 << QString("1.234,56" + nb + "€");
        QTest::newRow("negative") << -1234.56 << QString("-1.234,56" + nb + "€");
        QTest::newRow("zero") << 0.0 << QString("0,00" + nb + "€");
        QTest::newRow("rounds half up") << 1.005 << QString("1,01" + nb + "€");
        QTest::newRow("tiny negative is zero") << -0.001 << QString("0,00" + nb + "€");
        QTest::newRow("millions") << 1234567.891 << QString("1.234.567,89" + nb + "€");
        QTest::newRow("ten digits") << 9999999999.99 << QString("9.999.999.999,99" + nb + "€");
    }
    void currencyBytes()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(currency(value).toUtf8(), text.toUtf8());
    }

    void numbers()
    {
        QCOMPARE(number(30.0, 6, 2), QStringLiteral(" 30,00"));
        QCOMPARE(number(1234.5, 6, 2), QStringLiteral("1.234,50"));
        QCOMPARE(number(-5.0, 6, 2), QStringLiteral(" -5,00"));
        QCOMPARE(fixed(1234.5), QStringLiteral("1234,50"));
        QCOMPARE(number(999.999, 2), QStringLiteral("1.000,00"));
    }

    void dates()
    {
        const QDate d(2026, 12, 9);
        QCOMPARE(shortDate(d), QStringLiteral("09.12.2026"));
        QCOMPARE(longDate(d), QStringLiteral("Mittwoch, 9. Dezember 2026"));
        QCOMPARE(longDate(QDate(2024, 3, 1)), QStringLiteral("Freitag, 1. März 2024"));
        QCOMPARE(shortDate(QDate()), QString());
        QCOMPARE(shortTime(QTime(8, 5)), QStringLiteral("08:05"));
        QCOMPARE(DateUtil::addMonthsClamped(QDate(2024, 1, 31), 1), QDate(2024, 2, 29));
        QCOMPARE(DateUtil::addMonthsClamped(QDate(2023, 1, 31), 1), QDate(2023, 2, 28));
        QCOMPARE(DateUtil::addMonthsClamped(QDate(2024, 12, 15), 2), QDate(2025, 2, 15));
        QCOMPARE(DateUtil::addMonthsClamped(QDate(2024, 3, 31), -1), QDate(2024, 2, 29));
    }

    void parsing_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "12,50" << true << 12.5;
        QTest::newRow("thousands") << "1.234,56" << true << 1234.56;
        QTest::newRow("thousands only") << "1.234" << true << 1234.0;
        QTest::newRow("point decimal") << "12.5" << true << 12.5;
        QTest::newRow("negative") << "-3,5" << true << -3.5;
        QTest::newRow("blanks") << "  7 " << true << 7.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("bad grouping") << "12.34,5" << false << 0.0;
        QTest::newRow("text") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    }
    void parsing()
    {
        QFETCH(QString, input);
        QFETCH(bool, ok);
        QFETCH(double, value);
        if (ok) {
            QCOMPARE(parseFloat(input), value);
        } else {
            try {
                parseFloat(input);
                QFAIL("no error");
            } catch (const ConversionError &e) {
                QCOMPARE(e.message(), QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(input));
            }
        }
    }

    // One reader for every amount of the program, typed or from a bank, exact to the
    // ten-thousandth; the decimal point only where the file says so.
    void money_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("point");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("thousands point") << "1.200" << false << true << qint64(12000000);
        QTest::newRow("thousands and cents") << "1.200,00" << false << true << qint64(12000000);
        QTest::newRow("one decimal") << "1200,5" << false << true << qint64(12005000);
        QTest::newRow("typed point") << "12.50" << false << true << qint64(125000);
        QTest::newRow("millions") << "-12.345.678,91" << false << true << qint64(-123456789100);
        QTest::newRow("sign behind") << "12,30-" << false << true << qint64(-123000);
        QTest::newRow("euro sign, no-break space") << QString("100.000,00\u00A0€") << false << true << qint64(1000000000);
        QTest::newRow("EUR") << "+5,00 EUR" << false << true << qint64(50000);
        QTest::newRow("exact, no double") << "0,1234" << false << true << qint64(1234);
        QTest::newRow("half to even") << "0,00005" << false << true << qint64(0);
        QTest::newRow("decimal point column") << "-42.0" << true << true << qint64(-420000);
        QTest::newRow("point column, comma groups") << "1,234.56" << true << true << qint64(12345600);
        QTest::newRow("point column, three decimals") << "1.200" << true << true << qint64(12000);
        QTest::newRow("two points") << "1.2.3" << false << false << qint64(0);
        QTest::newRow("bad grouping") << "12.34,5" << false << false << qint64(0);
        QTest::newRow("lone point") << "." << false << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << false << qint64(0);
        QTest::newRow("too large") << "123456789012345,00" << false << false << qint64(0);
    }
    void money()
    {
        QFETCH(QString, input);
        QFETCH(bool, point);
        QFETCH(bool, ok);
        QFETCH(qint64, raw);
        Money m;
        QCOMPARE(tryParseMoney(input, &m, point ? DecimalMark::Point : DecimalMark::Comma), ok);
        if (ok)
            QCOMPARE(m.raw(), raw);
    }

    // One two-digit year rule for the whole program.
    void twoDigitYears()
    {
        QCOMPARE(parseDate("31.12.49"), QDate(2049, 12, 31));
        QCOMPARE(parseDate("1.1.50"), QDate(1950, 1, 1));
        QCOMPARE(parseDate("03.04.18"), QDate(2018, 4, 3));
        QCOMPARE(parseDate("2024-02-29"), QDate(2024, 2, 29));
        QCOMPARE(fullYear(0), 2000);
        QCOMPARE(fullYear(99), 1999);
    }

    void conversionMessages()
    {
        QCOMPARE(parseMoney("1.234,56 €"), Money::fromCents(123456));
        QCOMPARE(parseInteger(" 42"), 42);
        QCOMPARE(parseDate("1.2.2024"), QDate(2024, 2, 1));
        QCOMPARE(parseDate("29.02.24"), QDate(2024, 2, 29));
        QCOMPARE(parseTime("9:30"), QTime(9, 30));
        try {
            parseDate("31.02.2024");
            QFAIL("no error");
        } catch (const ConversionError &e) {
            QCOMPARE(e.message(), QStringLiteral("'31.02.2024' ist kein gültiges Datum"));
        }
        try {
            parseInteger("1,5");
            QFAIL("no error");
        } catch (const ConversionError &e) {
            QCOMPARE(e.message(), QStringLiteral("'1,5' ist kein gültiger Integerwert"));
        }
        QVERIFY_THROWS_EXCEPTION(ConversionError, parseInteger("99999999999"));
    }

    void sqlText()
    {
        QCOMPARE(SqlText::format("select * from p where lower(rubrik) like '%S' order by %s",
                                 {"%mie%", "rubrik"}),
                 QStringLiteral("select * from p where lower(rubrik) like '%mie%' order by rubrik"));
        QCOMPARE(SqlText::format("a %% b %d %s", {"x"}), QStringLiteral("a % b %d x"));
        QCOMPARE(SqlText::doubleQuotes("O'Brien''s"), QStringLiteral("O''Brien''''s"));
        QCOMPARE(SqlText::quoted("it's"), QStringLiteral("'it''s'"));
        QCOMPARE(SqlText::lowerAscii(QStringLiteral("ÄRZTE Übung ABC")), QStringLiteral("Ärzte Übung abc"));
    }
};

QTEST_APPLESS_MAIN(TestGermanFormat)
#include "tst_germanformat.moc"
