#include "AdminFixture.h"
#include "support/GuiTest.h"

#include "admin/PlzLookup.h"
#include "admin/TFormBuland.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"

#include <QToolButton>

class TestBuland : public QObject
{
    Q_OBJECT

    std::unique_ptr<AdminFixture> f;

    int states() const { return f->count("select count(*) from buland"); }

private slots:
    void init() { f = std::make_unique<AdminFixture>(); }
    void cleanup() { f.reset(); }

    void closingStoresATypedUnsavedName()
    {
        TFormBuland w(f->dm);
        w.show();
        auto *grid = GuiTest::find<DbGrid>(&w, "gridBuland");
        grid->selectRow(2);
        GuiTest::find<QToolButton>(&w, "tbutNeu")->click();
        // "Neu" inserts at the current position.
        QCOMPARE(f->dm.dmFirma->qrBuland->currentRow(), 2);
        QCOMPARE(grid->model()->rowCount(), 17);
        GuiTest::type(GuiTest::find<DbEdit>(&w, "eBuland"), "Südtirol");
        QVERIFY(GuiTest::find<QToolButton>(&w, "tbutSpeichern")->isEnabled());
        GuiTest::find<QToolButton>(&w, "tbutEnde")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(f->count("select count(*) from buland where Buland = 'Südtirol'"), 1);
        QVERIFY(f->dialogs.log().isEmpty());
    }

    void untouchedNewRowIsDroppedOnClose()
    {
        TFormBuland w(f->dm);
        w.show();
        GuiTest::find<QToolButton>(&w, "tbutNeu")->click();
        GuiTest::find<QToolButton>(&w, "tbutEnde")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(states(), 16);
        QCOMPARE(f->count("select count(*) from buland where coalesce(Buland, '') = ''"), 0);
        QVERIFY(f->dialogs.log().isEmpty());
    }

    void listIsReadOnlyAndDeleteAsksFirst()
    {
        TFormBuland w(f->dm);
        w.show();
        auto *grid = GuiTest::find<DbGrid>(&w, "gridBuland");
        grid->selectRow(0);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(f->dialogs.log().isEmpty());
        QCOMPARE(states(), 16);

        auto *del = GuiTest::find<QToolButton>(&w, "tbutLoeschen");
        f->dialogs.answers({false, true});
        del->click();
        QCOMPARE(states(), 16);
        del->click();
        QCOMPARE(states(), 15);
        QCOMPARE(f->dialogs.texts(), QStringList({"Datensatz wirklich löschen?", "Datensatz wirklich löschen?"}));
        QCOMPARE(f->count("select count(*) from buland where Buland = 'Baden-Württemberg'"), 0);
    }

    void townForPostcode_data()
    {
        QTest::addColumn<QString>("plz");
        QTest::addColumn<QString>("town");
        QTest::newRow("two towns: the first by name") << "55595" << "Hargesheim";
        QTest::newRow("one town") << "79098" << "Freiburg";
        QTest::newRow("exact, not a prefix") << "7909" << "";
        QTest::newRow("unknown") << "10115" << "";
        QTest::newRow("empty") << "" << "";
    }

    void townForPostcode()
    {
        QFETCH(QString, plz);
        QFETCH(QString, town);
        for (const char *row : {"('55595', 'Roxheim')", "('79098', 'Freiburg')", "('55595', 'Hargesheim')"})
            f->dm.db.exec(QStringLiteral("insert into plzort (Plz, Ort) values %1").arg(QLatin1String(row)));
        DataSet *qr = f->dm.dmFirma->qrPlzOrt;
        QCOMPARE(PlzLookup::townFor(qr, plz), QString());   // closed
        qr->open();
        qr->last();
        QCOMPARE(PlzLookup::townFor(qr, plz), town);
        QCOMPARE(qr->currentRow(), 2);   // the cursor stays where it was
    }
};

QTEST_MAIN(TestBuland)
#include "tst_admin_buland.moc"
