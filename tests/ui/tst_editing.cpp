#include "support/GuiTest.h"
#include "support/TempDatabase.h"

#include "data/DataSet.h"
#include "ui/AccessKeyGuard.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/EditMask.h"
#include "ui/RecordDialog.h"
#include "ui/RecordToolBar.h"
#include "ui/DesktopSetup.h"
#include "ui/ScriptedDialogs.h"

#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

// A small editing window of the usual kind over the text modules.
class ModuleWindow : public RecordDialog
{
public:
    explicit ModuleWindow(DataSet *ds)
    {
        auto *layout = new QVBoxLayout(this);
        auto *bar = new RecordToolBar(ds, this);
        bar->addCloseButton("tbEnde", "&Ende");
        bar->addNewButton("tbNeu", "&Neu");
        bar->addSaveButton("tbSpeichern", "&Speichern");
        bar->addCancelButton("tbAbbruch", "&Abbruch");
        bar->addDeleteButton("tbLoeschen", "&Löschen", "Datensatz löschen?");
        connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);
        auto *kurz = new DbEdit(ds, "TKurz", this);
        kurz->setObjectName("eKurz");
        bar->setFirstInput(kurz);
        auto *plz = new DbEdit(ds, "TTitel", this, EditMask::Postcode);
        plz->setObjectName("ePlz");
        auto *grid = new DbGrid(ds, {{"TKurz", "Kürzel"}, {"TTitel", "Titel"}}, this);
        grid->setObjectName("grid");
        auto *memo = new DbEdit(ds, "TText", this);
        memo->setObjectName("eText");
        layout->addWidget(bar);
        layout->addWidget(kurz);
        layout->addWidget(plz);
        layout->addWidget(grid);
        layout->addWidget(memo);
        setPostOnClose(ds);
    }
};

class TestEditing : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<DataSet> m_ds;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

    int rows() { return m_db->scalar("select count(*) from tbau").toInt(); }

    static void showActive(QWidget *w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

private slots:
    void initTestCase() { AccessKeyGuard::install(); }

    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_db = m_tmp->connect();
        m_ds = std::make_unique<DataSet>(m_db.get(), "qrTbau");
        m_ds->setSql("select * from tbau order by tkurz");
        m_ds->open();
        m_dialogs = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_ds.reset();
        m_db.reset();
        m_tmp.reset();
    }

    void firstKeystrokeStartsANewRecordAndSaveTwicePostsOnce()
    {
        ModuleWindow w(m_ds.get());
        auto *save = GuiTest::find<QToolButton>(&w, "tbSpeichern");
        auto *kurz = GuiTest::find<DbEdit>(&w, "eKurz");
        QVERIFY(!save->isEnabled());
        GuiTest::type(kurz, "G");
        QVERIFY(save->isEnabled());
        QCOMPARE(m_ds->state(), DataSet::State::Insert);
        GuiTest::type(kurz, "rüße");
        QCOMPARE(kurz->text(), QStringLiteral("Grüße"));
        save->click();
        save->click();
        QCOMPARE(rows(), 1);
        QVERIFY(!save->isEnabled());
        QCOMPARE(m_db->scalar("select TKurz from tbau").toString(), QStringLiteral("Grüße"));
        QVERIFY(m_dialogs->log().isEmpty());
    }

    void cancelRemovesNewAndRestoresChanged()
    {
        m_db->exec("insert into tbau (TKurz) values ('alt')");
        m_ds->reopen();
        ModuleWindow w(m_ds.get());
        auto *kurz = GuiTest::find<DbEdit>(&w, "eKurz");
        auto *grid = GuiTest::find<DbGrid>(&w, "grid");
        GuiTest::find<QToolButton>(&w, "tbNeu")->click();
        QCOMPARE(grid->model()->rowCount(), 2);
        GuiTest::type(kurz, "neu");
        GuiTest::find<QToolButton>(&w, "tbAbbruch")->click();
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(kurz->text(), QStringLiteral("alt"));

        GuiTest::type(kurz, "x");
        QCOMPARE(m_ds->state(), DataSet::State::Edit);
        GuiTest::find<QToolButton>(&w, "tbAbbruch")->click();
        QCOMPARE(kurz->text(), QStringLiteral("alt"));
        QCOMPARE(m_db->scalar("select TKurz from tbau").toString(), QStringLiteral("alt"));
    }

    void deleteAsksFirst()
    {
        m_db->exec("insert into tbau (TKurz) values ('a')");
        m_ds->reopen();
        ModuleWindow w(m_ds.get());
        auto *del = GuiTest::find<QToolButton>(&w, "tbLoeschen");
        m_dialogs->answer(false);
        del->click();
        QCOMPARE(rows(), 1);
        m_dialogs->answer(true);
        del->click();
        QCOMPARE(rows(), 0);
        QCOMPARE(m_dialogs->texts(), QStringList({"Datensatz löschen?", "Datensatz löschen?"}));
        // Deleting in an empty list reports the data layer's message.
        m_dialogs->answer(true);
        del->click();
        QCOMPARE(m_dialogs->lastText(), DataSet::EmptyMessage);
        QCOMPARE(m_dialogs->log().last().kind, mkError);
    }

    void ctrlDeleteInEditableAndReadOnlyLists()
    {
        m_db->exec("insert into tbau (TKurz) values ('a')");
        m_db->exec("insert into tbau (TKurz) values ('b')");
        m_ds->reopen();
        ModuleWindow w(m_ds.get());
        auto *grid = GuiTest::find<DbGrid>(&w, "grid");
        grid->setReadOnly(true);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(m_dialogs->log().isEmpty());
        grid->setReadOnly(false);
        m_dialogs->answer(true);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_dialogs->log().size(), 1);
        QCOMPARE(m_dialogs->log().first().call, QStringLiteral("confirmOkCancel"));
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Datensatz löschen?"));
        QCOMPARE(rows(), 1);
    }

    void listAndCursorFollowEachOther()
    {
        for (const char *k : {"a", "b", "c"})
            m_db->exec(QStringLiteral("insert into tbau (TKurz) values ('%1')").arg(QLatin1String(k)));
        m_ds->reopen();
        ModuleWindow w(m_ds.get());
        auto *grid = GuiTest::find<DbGrid>(&w, "grid");
        auto *kurz = GuiTest::find<DbEdit>(&w, "eKurz");
        grid->selectRow(2);
        QCOMPARE(m_ds->currentRow(), 2);
        QCOMPARE(kurz->text(), QStringLiteral("c"));
        m_ds->first();
        QCOMPARE(grid->currentIndex().row(), 0);
        // A pending edit is posted when the list moves the cursor.
        kurz->setFocus();
        QTest::keyClick(kurz, Qt::Key_End);
        GuiTest::type(kurz, "2");
        grid->selectRow(1);
        QCOMPARE(m_db->scalar("select count(*) from tbau where TKurz = 'a2'").toInt(), 1);
    }

    void closingPostsAndMaskRefusesShortPostcode()
    {
        ModuleWindow w(m_ds.get());
        w.show();
        auto *plz = GuiTest::find<DbEdit>(&w, "ePlz");
        GuiTest::type(plz, "1234");
        QCOMPARE(m_ds->state(), DataSet::State::Insert);
        GuiTest::leave(plz);
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("'1234_' ist kein gültiger Eingabewert"));
        w.close();
        QVERIFY(w.isVisible());   // the post failed, so the window stays
        QCOMPARE(rows(), 0);
        GuiTest::type(plz, "5");
        GuiTest::find<QToolButton>(&w, "tbEnde")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(m_db->scalar("select TTitel from tbau").toString(), QStringLiteral("12345"));
    }

    // A click into the middle of an empty masked field must not lose the first digits: the
    // cursor goes to the start, and the digits fill the mask from there.
    void clickIntoAnEmptyMaskStartsAtItsBeginning()
    {
        ModuleWindow w(m_ds.get());
        showActive(&w);
        auto *plz = GuiTest::find<DbEdit>(&w, "ePlz");
        QTest::mouseClick(plz, Qt::LeftButton, {}, QPoint(plz->width() * 2 / 3, plz->height() / 2));
        QCOMPARE(plz->cursorPosition(), 0);
        GuiTest::type(plz, "80331");
        QCOMPARE(plz->text(), QStringLiteral("80331"));
        GuiTest::find<QToolButton>(&w, "tbEnde")->click();
        QCOMPARE(m_db->scalar("select TTitel from tbau").toString(), QStringLiteral("80331"));
        QVERIFY(m_dialogs->log().isEmpty());
    }

    // A day or month of one digit is taken in a date mask with optional digits.
    void dateMaskTakesOneDigitDayAndMonth()
    {
        DataSet contacts(m_db.get(), "qrKontakte");
        contacts.setSql("select * from adressen order by adr_id");
        contacts.open();
        QWidget w;
        auto *layout = new QVBoxLayout(&w);
        auto *name = new DbEdit(&contacts, "Name1", &w);
        auto *birthday = new DbEdit(&contacts, "Geburtstag", &w, EditMask::DateShortDigits);
        layout->addWidget(name);
        layout->addWidget(birthday);
        showActive(&w);
        GuiTest::type(name, "Meier");
        QTest::mouseClick(birthday, Qt::LeftButton, {}, QPoint(birthday->width() - 4, birthday->height() / 2));
        GuiTest::type(birthday, "1.2.2000");
        GuiTest::leave(birthday);
        contacts.post();
        QVERIFY(m_dialogs->log().isEmpty());
        QCOMPARE(m_db->scalar("select Geburtstag from adressen").toDate(), QDate(2000, 2, 1));
    }

    void accessKeyOfADisabledButtonTypesNothing()
    {
        m_db->exec("insert into tbau (TKurz) values ('Gruß')");
        m_db->exec("insert into tbau (TKurz) values ('xylophon')");
        m_ds->reopen();
        ModuleWindow w(m_ds.get());
        showActive(&w);
        auto *kurz = GuiTest::find<DbEdit>(&w, "eKurz");
        auto *save = GuiTest::find<QToolButton>(&w, "tbSpeichern");
        kurz->setFocus();
        QVERIFY(!save->isEnabled());
        QTest::keyClick(kurz, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(kurz->text(), QStringLiteral("Gruß"));
        QCOMPARE(m_ds->state(), DataSet::State::Browse);
        // Lists and drop-downs take no stray letter either: the current record stays.
        auto *grid = GuiTest::find<DbGrid>(&w, "grid");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(m_ds->currentRow(), 0);
        // Closing stores nothing that was not typed.
        w.close();
        QCOMPARE(m_db->scalar("select TKurz from tbau order by TKurz").toString(), QStringLiteral("Gruß"));
    }

    void tabLeavesTheList()
    {
        for (const char *k : {"a", "b", "c"})
            m_db->exec(QStringLiteral("insert into tbau (TKurz) values ('%1')").arg(QLatin1String(k)));
        m_ds->reopen();
        ModuleWindow w(m_ds.get());
        showActive(&w);
        auto *grid = GuiTest::find<DbGrid>(&w, "grid");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("eText"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(m_ds->currentRow(), 0);
    }

    void freeTextDropDownHoldsTextToTheColumnSize()
    {
        DbComboBox cb(m_ds.get(), "TKurz", DbComboBox::Mode::FreeText, {"Netto P 1", "Netto P 2"});
        // No more than the column holds can be typed (35 characters here).
        GuiTest::type(cb.lineEdit(), QString(57, u'x'));
        QCOMPARE(cb.currentText(), QString(35, u'x'));
        GuiTest::leave(&cb);
        m_ds->post();
        QCOMPARE(m_db->scalar("select TKurz from tbau").toString(), QString(35, u'x'));
    }

    void controlOutlivingItsDataSetIgnoresInput()
    {
        auto ds = std::make_unique<DataSet>(m_db.get(), "qrTbau2");
        ds->setSql("select * from tbau");
        ds->open();
        DbEdit edit(ds.get(), "TKurz");
        ds.reset();
        GuiTest::type(&edit, "x");
        GuiTest::leave(&edit);
        QCOMPARE(rows(), 0);
    }

    void waitingForAWindowThatNeverComesEnds()
    {
        const auto timers = [] { return qApp->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly).size(); };
        const qsizetype before = timers();
        bool ran = false;
        QTest::ignoreMessage(QtWarningMsg, "RecordDialog::whenShown: no modal window within 50 ms");
        RecordDialog::whenShown([&](QDialog *) { ran = true; }, 50);
        QCOMPARE(timers(), before + 1);
        QTRY_COMPARE(timers(), before);
        QVERIFY(!ran);
    }

    void qtTextsAreGerman()
    {
        QVERIFY(DesktopSetup::apply());
        DbEdit edit(m_ds.get(), "TKurz");
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                texts << a->text();
        const QString all = texts.join(QStringLiteral(" | "));
        QVERIFY2(all.contains(QStringLiteral("&Rückgängig")) && all.contains(QStringLiteral("Alles auswählen")),
                 qPrintable(all));
        QVERIFY2(!all.contains(QStringLiteral("Undo")) && !all.contains(QStringLiteral("Select All")), qPrintable(all));
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
