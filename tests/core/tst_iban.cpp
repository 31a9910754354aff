#include "core/AppError.h"
#include "core/Iban.h"

#include <QTest>

class TestIban : public QObject
{
    Q_OBJECT
private slots:
    void problem_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("why");
        QTest::newRow("German, grouped") << "DE89 3704 0044 0532 0130 00" << "";
        QTest::newRow("German, small letters, no blanks") << "de89370400440532013000" << "";
        QTest::newRow("empty is optional") << "  " << "";
        QTest::newRow("British with letters") << "GB82 WEST 1234 5698 7654 32" << "";
        QTest::newRow("Norwegian, the shortest") << "NO93 8601 1117 947" << "";
        QTest::newRow("French with a letter inside") << "FR14 2004 1010 0505 0001 3M02 606" << "";
        QTest::newRow("Austrian, 20 places") << "AT61 1904 3002 3457 3201" << "";
        QTest::newRow("two digits swapped") << "DE89 3704 0044 0532 0103 00"
                                            << "die Prüfziffer stimmt nicht; bitte vergleichen Sie die IBAN mit dem Kontoauszug";
        QTest::newRow("wrong check digits") << "DE02 2905 0101 0001 2345 67"
                                            << "die Prüfziffer stimmt nicht; bitte vergleichen Sie die IBAN mit dem Kontoauszug";
        QTest::newRow("German one place short") << "DE89 3704 0044 0532 0130 0"
                                                << "eine IBAN aus Deutschland hat 22 Stellen, eingegeben sind 21";
        QTest::newRow("Austrian length in Germany") << "DE61 1904 3002 3457 3201"
                                                    << "eine IBAN aus Deutschland hat 22 Stellen, eingegeben sind 20";
        QTest::newRow("German length in Austria") << "AT89 3704 0044 0532 0130 00"
                                                  << "eine IBAN aus „AT“ hat 20 Stellen, eingegeben sind 22";
        QTest::newRow("no such country") << "XY89 3704 0044 0532 0130 00" << "„XY“ ist kein Land mit IBAN";
        QTest::newRow("old account number") << "0532013000"
                                            << "sie beginnt mit dem Länderkennzeichen und zwei Prüfziffern, etwa „DE12 …“";
        QTest::newRow("punctuation") << "DE89-3704-0044-0532-0130-00" << "sie darf nur Buchstaben und Ziffern enthalten";
        QTest::newRow("umlaut") << "DE89 3704 0044 0532 0130 0Ä" << "sie darf nur Buchstaben und Ziffern enthalten";
    }
    void problem()
    {
        QFETCH(QString, typed);
        QFETCH(QString, why);
        QCOMPARE(Iban::problem(typed), why);
    }

    void formsAndMessages()
    {
        QCOMPARE(Iban::compact(" de89 3704\t0044 0532 0130 00 "), QString("DE89370400440532013000"));
        QCOMPARE(Iban::grouped("DE89370400440532013000"), QString("DE89 3704 0044 0532 0130 00"));
        QCOMPARE(Iban::grouped("no9386011117947"), QString("NO93 8601 1117 947"));
        try {
            Iban::check("DE02 2905 0101 0001 2345 67", "IBAN (Bank 1)");
            QFAIL("a wrong check digit was taken");
        } catch (const UserWarning &e) {
            QCOMPARE(e.message(), QString("Die Eingabe im Feld „IBAN (Bank 1)“ ist keine gültige IBAN: die Prüfziffer stimmt "
                                          "nicht; bitte vergleichen Sie die IBAN mit dem Kontoauszug."));
        }
        Iban::check("DE21 2905 0101 0001 2345 67", "IBAN");
    }

    void bic_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("why");
        QTest::newRow("eight places") << "COBADEFF" << "";
        QTest::newRow("eleven places") << "cobadeff370" << "";
        QTest::newRow("nine places") << "COBADEFF3" << "ein BIC hat 8 oder 11 Stellen, eingegeben sind 9";
        QTest::newRow("digit in the bank code") << "C0BADEFF"
                                                << "er beginnt mit sechs Buchstaben (Bank und Land), dann folgen Buchstaben oder Ziffern";
    }
    void bic()
    {
        QFETCH(QString, typed);
        QFETCH(QString, why);
        QCOMPARE(Iban::bicProblem(typed), why);
    }
};

QTEST_GUILESS_MAIN(TestIban)
#include "tst_iban.moc"
