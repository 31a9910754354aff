#include "core/AppError.h"
#include "core/Money.h"

#include <QTest>

class TestMoney : public QObject
{
    Q_OBJECT
private slots:
    void fromDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("100/12") << 100.0 / 12 << qint64(83333);
        QTest::newRow("200/12") << 200.0 / 12 << qint64(166667);
        QTest::newRow("half to even down") << 0.00005 << qint64(0);
        QTest::newRow("half to even up") << 0.00015 << qint64(2);
        QTest::newRow("typed half 1.00005") << 1.00005 << qint64(10000);
        QTest::newRow("negative half") << -0.00025 << qint64(-2);
        QTest::newRow("negative") << -1234.5678 << qint64(-12345678);
        QTest::newRow("0.1+0.2 drift") << 0.1 + 0.2 << qint64(3000);
        QTest::newRow("ten digits") << 9999999999.99 << qint64(99999999999900);
        QTest::newRow("zero") << 0.0 << qint64(0);
        QTest::newRow("minus zero") << -0.0 << qint64(0);
    }
    void fromDouble()
    {
        QFETCH(double, value);
        QFETCH(qint64, raw);
        QCOMPARE(Money::fromDouble(value).raw(), raw);
    }

    void arithmeticIsExact()
    {
        // The monthly share of 100 and 200 paid yearly adds up to exactly 25.
        const Money sum = Money::fromDouble(100.0 / 12) + Money::fromDouble(200.0 / 12);
        QCOMPARE(sum, Money::fromDouble(25.0));
        QCOMPARE(sum.toDouble(), 25.0);

        Money acc;
        for (int i = 0; i < 1000; ++i)
            acc += Money::fromDouble(0.1);
        QCOMPARE(acc, Money::fromCents(10000));
        QVERIFY(Money::fromDouble(-0.01) < Money());
        QCOMPARE((Money::fromDouble(2.5) - Money::fromDouble(3.75)).toDouble(), -1.25);
        QCOMPARE(Money::fromDouble(1234567890.12).toDouble(), 1234567890.12);
    }

    void outOfRangeIsRefused()
    {
        QVERIFY_THROWS_EXCEPTION(ConversionError, Money::fromDouble(1e300));
        QVERIFY_THROWS_EXCEPTION(ConversionError, Money::fromDouble(qQNaN()));
    }
};

QTEST_APPLESS_MAIN(TestMoney)
#include "tst_money.moc"
