#include "support/GuiTest.h"
#include "support/TempDatabase.h"
#include "support/VisibleAccessKeys.h"

#include "admin/TFormBuland.h"
#include "admin/TFormFirma.h"
#include "admin/TFormPasswort.h"
#include "admin/TFormUser.h"
#include "admin/TFormUserErfassen.h"
#include "app/TFormDatenbank.h"
#include "core/AppError.h"
#include "app/TFormMain.h"
#include "appointments/TFormTermineEdit.h"
#include "budget/TFormBudgetSuchen.h"
#include "contacts/TFormKontWahl.h"
#include "contacts/TFormKontakteErfassen.h"
#include "data/DataModules.h"
#include "garnish/TFormPfandInit.h"
#include "help/TFormProgInfo.h"
#include "hhbook/TFormHHplanWiBu.h"
#include "hhbook/StatementImportDialog.h"
#include "hhbook/TFormHhbuchEdit.h"
#include "infothek/TFormInfoRubrik.h"
#include "letters/TFormTbau.h"
#include "settlement/TFormPKonto.h"
#include "settlement/TFormSbPlan.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The clashes of `window` in every combination of its tabs' pages, one line each.
QStringList clashes(QWidget *window, const QString &where)
{
    QStringList found;
    auto check = [&](const QString &state) {
        const QMap<QChar, QStringList> keys = VisibleAccessKeys::keys(window);
        for (auto it = keys.cbegin(); it != keys.cend(); ++it)
            if (it.value().size() > 1)
                found << QStringLiteral("%1%2: Alt+%3 bei %4").arg(where, state, it.key(), it.value().join(QStringLiteral(" / ")));
    };
    check(QString());
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        if (!tabs->isVisibleTo(window))
            continue;
        const int was = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            check(QStringLiteral(" [%1]").arg(QString(tabs->tabText(i)).remove(u'&')));
        }
        tabs->setCurrentIndex(was);
    }
    found.removeDuplicates();
    return found;
}

} // namespace

// An access key presses one button: two buttons of one window with the same letter leave
// Alt with that letter only moving the focus between them.
class TestAccessKeys : public QObject
{
    Q_OBJECT

private slots:
    void noLetterTwiceInAnyWindow()
    {
        ScriptedDialogs dialogs;
        TempDatabase tmp;
        for (const char *f : {"Reportvorlagen", "Reportausgabe", "Infothek/Formulare", "Infothek/Infothek",
                              "Infothek/Musterbriefe"})
            QDir(tmp.dir()).mkpath(QLatin1String(f));
        const QString exeDir = QDir(tmp.dir()).absolutePath() + u'/';
        {
            auto db = tmp.connect();
            db->exec("update firma set FReportIn = :i, FReportOut = :o",
                     {{"i", exeDir + "Reportvorlagen/"}, {"o", exeDir + "Reportausgabe/"}});
            db->exec("insert into adressen (Name1, Suna, Akunde) values ('Anna Müller', 'Müller, Anna', :k)", {{"k", true}});
        }
        DataModules dm;
        TFormMain main(dm, exeDir);
        RecordDialog::whenShown([](QDialog *dlg) {
            GuiTest::find<QComboBox>(dlg, "cbUser")->setCurrentText("sb");
            GuiTest::find<QLineEdit>(dlg, "ePasswort")->setText("sb");
            GuiTest::find<QPushButton>(dlg, "btnAnmelden")->click();
        });
        QVERIFY(main.start());
        main.resize(1280, 800);
        main.show();

        QStringList found;
        auto *tree = GuiTest::find<QTreeWidget>(&main, "tvMain");
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            tree->setCurrentItem(tree->topLevelItem(i));
            QApplication::processEvents();
            found << clashes(&main, tree->topLevelItem(i)->text(0));
        }
        dm.dmAdressen->qrKontakte->reopen();

        auto window = [&](QWidget *w, const QString &name) {
            w->show();
            QApplication::processEvents();
            found << clashes(w, name);
            w->hide();
        };
        {
            TFormPasswort w(dm, &main);
            window(&w, "Anmeldung");
        }
        for (auto make : std::initializer_list<std::function<QWidget *()>>{
                 [&] { return new TFormBudgetSuchen(dm, &main); },
                 [&] { return new TFormHhbuchEdit(dm, &main); },
                 [&] { return new TFormHHplanWiBu(dm, {}, &main); },
                 [&] { return new TFormPfandInit(dm, &main); },
                 [&] { return new TFormKontakteErfassen(dm, &main); },
                 [&] { return new TFormKontWahl(dm, &main); },
                 [&] { return new TFormTbau(dm, &main); },
                 [&] { return new TFormTermineEdit(dm, &main); },
                 [&] { return new TFormInfoRubrik(dm, &main); },
                 [&] { return new TFormProgInfo(dm, &main); },
                 [&] { return new TFormUser(dm, &main); },
                 [&] { return new TFormUserErfassen(dm, &main); },
                 [&] { return new TFormFirma(dm, exeDir, &main); },
                 [&] { return new TFormBuland(dm, &main); },
                 [&] { return new TFormSbPlan(dm, &main); },
                 [&] { return new TFormPKonto(dm, &main); },
                 [&] { return new TFormDatenbank({}, &main); },
                 [&] {
                     dm.db.exec("insert into hhplan (Erfdat, Bezeichnung, User_id) values ('2026-10-01', 'Buch', 1)");
                     const int book = dm.db.scalar("select max(hhplan_id) from hhplan").toInt();
                     return new StatementImportDialog(dm.db, book, qEnvironmentVariable("FINORRA_SOURCE_DIR")
                                                                       + "/tests/hhbook/statements/camt053-konten.xml", &main);
                 }}) {
            std::unique_ptr<QWidget> w;
            try {
                w.reset(make());
            } catch (const AppError &e) {
                QFAIL(qPrintable(e.message()));
            }
            window(w.get(), w->windowTitle());
            if (auto *dlg = qobject_cast<QDialog *>(w.get()))
                dlg->reject();
        }
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("\n") + found.join(u'\n')));
        main.endProgram();
    }
};

QTEST_MAIN(TestAccessKeys)
#include "tst_accesskeys.moc"
