#include "core/GermanCollation.h"

#include <QTest>

class TestGermanCollation : public QObject
{
    Q_OBJECT
private slots:
    void order_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("umlaut as its vowel") << "Ärztliche Bescheinigung" << "Textnotiz";
        QTest::newRow("umlaut as its vowel, ü") << "Termine" << "Übersicht";
        QTest::newRow("Ö before Z") << "Öztürk" << "Zander";
        QTest::newRow("case ignored") << "apfel" << "Birne";
        QTest::newRow("case ignored, capital first letter") << "Ahorn" << "birke";
        QTest::newRow("ß as ss") << "Strasse" << "Straßenbahn";
        QTest::newRow("ß as ss, before u") << "Straße" << "Strauss";
        QTest::newRow("without accent first") << "Muller" << "Müller";
        QTest::newRow("small letters first") << "müller" << "Müller";
        QTest::newRow("accent decides before case") << "MULLER" << "müller";
        QTest::newRow("shorter first") << "Bach" << "Bacher";
        QTest::newRow("digits before letters") << "10 Euro" << "Abfall";
        QTest::newRow("blank before letters") << "Bad Tölz" << "Baden";
        QTest::newRow("accents of other languages") << "Café" << "Cafeteria";
        QTest::newRow("empty first") << "" << "a";
    }
    void order()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QVERIFY(GermanCollation::compare(before, after) < 0);
        QVERIFY(GermanCollation::compare(after, before) > 0);
        const QByteArray a = before.toUtf8(), b = after.toUtf8();
        QVERIFY(GermanCollation::compareUtf8(a.constData(), int(a.size()), b.constData(), int(b.size())) < 0);
        QVERIFY(GermanCollation::compareUtf8(b.constData(), int(b.size()), a.constData(), int(a.size())) > 0);
    }

    void equalOnlyWhenTheSame()
    {
        QCOMPARE(GermanCollation::compare(u"Müller", u"Müller"), 0);
        // "ü" written with a combining accent is told apart from the precomposed one, so
        // the order stays total.
        QVERIFY(GermanCollation::compare(u"Mu\u0308ller", u"Müller") != 0);
        QVERIFY(GermanCollation::compare(u"Mu\u0308ller", u"Muller") > 0);
    }
};

QTEST_APPLESS_MAIN(TestGermanCollation)
#include "tst_germancollation.moc"
