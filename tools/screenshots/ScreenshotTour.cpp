#include "ScreenshotTour.h"

#include "admin/TFormBuland.h"
#include "admin/TFormFirma.h"
#include "admin/TFormPassHilfe.h"
#include "admin/TFormPasswort.h"
#include "admin/TFormUser.h"
#include "admin/TFormUserErfassen.h"
#include "app/TFormAbout.h"
#include "budget/TFormBudgetSuchen.h"
#include "budget/rules/BudgetCategory.h"
#include "contacts/TFormKontWahl.h"
#include "contacts/TFormKontakteErfassen.h"
#include "settlement/TFormPKonto.h"
#include "settlement/TFormSbPlan.h"
#include "settlement/rules/PlanRules.h"
#include "settlement/rules/SettlementData.h"
#include "app/TFormFortschritt.h"
#include "app/TFormMain.h"
#include "appointments/TFormTermineEdit.h"
#include "data/DataModules.h"
#include "garnish/TFormPfandInit.h"
#include "help/TFormProgInfo.h"
#include "hhbook/TFormHHplanWiBu.h"
#include "hhbook/TFormHhbuchEdit.h"
#include "infothek/TFormInfoRubrik.h"
#include "letters/TFormTbau.h"
#include "report/DocumentOpener.h"
#include "ui/PdfConverter.h"
#include "ui/PdfPreview.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTemporaryDir>

ScreenshotTour::ScreenshotTour(const QString &outputDir) : m_out(outputDir) {}

void ScreenshotTour::save(QWidget *widget, const QString &name)
{
    widget->show();
    QApplication::processEvents();
    if (widget->grab().save(QDir(m_out).filePath(name + QStringLiteral(".png"))))
        ++m_count;
    widget->hide();
}

namespace {

// What a screen loses to the window's title bar and frame and to the task bar.
const QSize WindowChrome(8, 8 + 30 + 40);

// A little of everything, so lists and fields are not empty.
void fillSampleData(Database &db)
{
    db.exec("update firma set Name1 = 'Schuldner- und Budgetberatung', Name2 = 'Diakonie am Markt', "
            "Strasse = 'Marktstraße 12', Plz = '34117', Ort = 'Kassel', Telefon = '0561 123456', "
            "Email = 'beratung@example.org', Suna = 'Beratung Kassel', Bank1Name1 = 'Kasseler Sparkasse', "
            "Bank1Iban = 'DE52520503530000123456', Bank1Bic = 'HELADEF1KAS', Bank1Verwenden = 1");
    db.exec("insert into benutzer (SbKurz, SbLang, SbTelefon, Passwort) values "
            "('mk', 'Maria Krüger', '0561 123457', 'x'), ('th', 'Thomas Hübner', '0561 123458', 'x')");
    db.exec("insert into plzort (Plz, Ort) values ('34117', 'Kassel'), ('34119', 'Kassel')");
    db.exec("insert into adressen (Erfdat, Name1, Name2, Name3, Suna, Land, Buland, Strasse, Hausnr, Plz, Ort, Telefon, "
            "Telefax, Email, Internet, Rub1, Notizen) values "
            "('2026-09-14', 'Amtsgericht Kassel', 'Insolvenzgericht', 'Geschäftsstelle 3', 'Amtsgericht Kassel', 'D', "
            "'Hessen', 'Frankfurter Straße', '9', '34117', 'Kassel', '0561 912-0', '0561 912-2500', "
            "'poststelle@ag-kassel.example', 'www.ag-kassel.example', 'Behörden', "
            "'Verbraucherinsolvenz: Aktenzeichen bei jedem Schreiben angeben.'), "
            "('2026-10-02', 'Jobcenter Stadt Kassel', 'Team Leistung 4', null, 'Jobcenter Kassel', 'D', 'Hessen', "
            "'Grüner Weg', '1', '34117', 'Kassel', '0561 7007-0', null, 'jobcenter@example.org', null, 'Behörden', null), "
            "('2026-10-20', 'Städtische Werke AG', 'Kundenservice', null, 'Städtische Werke', 'D', 'Hessen', "
            "'Königstor', '3-13', '34117', 'Kassel', '0561 782-0', null, 'service@sw-kassel.example', null, "
            "'Geschäft', 'Abschlag Strom 68,50 € monatlich'), "
            "('2026-11-05', 'Maria Beispiel', null, null, 'Beispiel, Maria', 'D', 'Hessen', 'Wilhelmshöher Allee', "
            "'112', '34119', 'Kassel', '0561 445566', null, null, null, 'Privat', 'Ratsuchende seit Oktober 2026')");
}

// Letters of the user "sb" to the sample contacts, and the text modules they were built from.
void addSampleLetters(Database &db)
{
    db.exec("insert into tbau (TKurz, TTitel, TText) values "
            "('ANREDE', 'Anrede allgemein', 'Sehr geehrte Damen und Herren,'), "
            "('RATEN', 'Bitte um Ratenzahlung', 'unsere Klientin ist derzeit nicht in der Lage, die Forderung in einer "
            "Summe zu begleichen. Wir bitten Sie, einer monatlichen Rate von 25,00 € zuzustimmen.'), "
            "('GRUSS', 'Grußformel', 'Mit freundlichen Grüßen')");
    db.exec("insert into schrift (Erfdat, Emp_id, Emp_Anpa, IhrZeichen, UnserZeichen, SB, SBKurz, SBTelefon, Titel, "
            "Betreff, Text, Emp_Mako, User_id) values "
            "('2026-11-12', 3, 'Frau Schneider', 'Vertragskonto 4711 0815', 'Bei/2026-17', 'Sachbearbeiter', 'sb', "
            "'0561 123456', 'Städtische Werke - Ratenzahlung', 'Ratenzahlung für die Stromrechnung 2026\nIhr Zeichen: "
            "Vertragskonto 4711 0815', 'Sehr geehrte Frau Schneider,\n\nunsere Klientin Maria Beispiel ist derzeit "
            "nicht in der Lage, die Nachzahlung von 412,80 € in einer Summe zu begleichen. Wir bitten Sie, einer "
            "monatlichen Rate von 25,00 € ab Januar 2027 zuzustimmen.\n\nMit freundlichen Grüßen', 1, 1), "
            "('2026-11-20', 1, null, '34 IK 117/26', 'Bei/2026-17', 'Sachbearbeiter', 'sb', '0561 123456', "
            "'Amtsgericht Kassel - Bescheinigung', 'Bescheinigung über den außergerichtlichen Einigungsversuch', "
            "'Sehr geehrte Damen und Herren,\n\nanbei erhalten Sie die Bescheinigung.', 1, 1)");
}

// A plan typed in through the queries, so the rules fill its totals as in real use.
void addSamplePlan(DataModules &dm)
{
    TdmHh &hh = *dm.dmHh;
    hh.qrBudget->reopen();
    for (DataSet *q : hh.budgetItemQueries())
        q->reopen();
    hh.qrBudget->append();
    hh.qrBudget->setValue("BudTitel", "Familie Beispiel, Haushaltsplan 2027");
    hh.qrBudget->setValue("Bud_dat", QDate(2026, 12, 1));
    hh.qrBudget->setValue("PfandNetto", 2350.0);
    hh.qrBudget->setValue("Bud_Personen", 3);
    hh.qrBudget->post();
    struct Item { DataSet *q; const char *p; const char *bez; double amount; const char *month; const char *rhythm; };
    const Item items[] = {
        {hh.qrBudEinkommen, "Ek", "Netto P 1", 2350.00, "01", "monatlich"},
        {hh.qrBudEinkommen, "Ek", "Kindergeld", 250.00, "01", "monatlich"},
        {hh.qrBudWohnkosten, "Wk", "Kaltmiete", 720.00, "01", "monatlich"},
        {hh.qrBudWohnkosten, "Wk", "Heizung", 95.00, "01", "monatlich"},
        {hh.qrBudWohnkosten, "Wk", "Strom", 68.50, "01", "monatlich"},
        {hh.qrBudVersicherungen, "Vs", "Haftpflicht", 84.00, "03", "jährlich"},
        {hh.qrBudVersicherungen, "Vs", "Hausrat", 126.00, "02", "vierteljährlich"},
        {hh.qrBudVerkehrskosten, "Vk", "Öffentlicher Verkehr", 58.00, "01", "monatlich"},
        {hh.qrBudAllgemein, "Ak", "Mobiltelefon", 29.99, "01", "monatlich"},
        {hh.qrBudAllgemein, "Ak", "Rundfunkgebühren", 55.08, "01", "vierteljährlich"},
        {hh.qrBudLebenshaltung, "Lk", "Haushaltsgeld", 650.00, "01", "monatlich"},
        {hh.qrBudSonstKredite, "Sk", "Ratenkredit Möbel", 120.00, "01", "monatlich"},
    };
    for (const Item &i : items) {
        const BudgetCategory &c = BudgetCategories::byPrefix(QLatin1String(i.p));
        i.q->append();
        i.q->setValue(c.descriptionField, QString::fromUtf8(i.bez));
        i.q->setValue(c.amountField, i.amount);
        i.q->setValue(c.monthField, QString::fromLatin1(i.month));
        i.q->setValue(c.rhythmField, QString::fromUtf8(i.rhythm));
        if (!c.remainingDebtField.isEmpty())
            i.q->setValue(c.remainingDebtField, 2880.0);
        i.q->post();
    }
}

// A household book of three months, stored as another session would have left it.
void addSampleBook(Database &db)
{
    db.exec("insert into hhplan (Erfdat, Bezeichnung, User_id) values ('2026-10-01', 'Haushaltsbuch von Familie Beispiel', 1)");
    struct Booking { const char *day; const char *rubrik; const char *rubdet; double amount; const char *text; };
    const Booking month[] = {
        {"01", "Einkommen", "Konto", 2350.00, "Lohn"},        {"01", "Wohnkosten", "Konto", 720.00, "Kaltmiete"},
        {"02", "Einkommen", "Konto", 250.00, "Kindergeld"},   {"03", "Wohnkosten", "Konto", 95.00, "Heizung"},
        {"05", "Lebenshaltung", "Bar", 86.40, "Wochenmarkt"}, {"07", "Verkehrskosten", "Konto", 58.00, "Monatskarte"},
        {"10", "Versicherungen", "Konto", 31.50, "Hausrat"},  {"12", "Lebenshaltung", "Bar", 124.85, "Supermarkt"},
        {"15", "Konsumkredite", "Konto", 120.00, "Ratenkredit Möbel"}, {"18", "Allgemeine Kosten", "Konto", 29.99, "Mobiltelefon"},
        {"21", "Lebenshaltung", "Konto", 212.30, "Supermarkt"}, {"27", "Lebenshaltung", "Bar", 64.20, "Drogerie"},
    };
    for (int m = 10; m <= 12; ++m)
        for (const Booking &b : month)
            db.exec("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) values (1, :d, :r, :k, :b, :t)",
                    {{"d", QStringLiteral("2026-%1-%2").arg(m).arg(QLatin1String(b.day))}, {"r", QString::fromUtf8(b.rubrik)},
                     {"k", QLatin1String(b.rubdet)}, {"b", b.amount + (m - 10) * (b.amount < 200 ? 3.15 : 0)},
                     {"t", QString::fromUtf8(b.text)}});
}

// The shipped sample documents catalogued in the default rubrics, and a week of appointments
// around today, when the Termine page opens.
void addSampleInfothekAndAppointments(DataModules &dm, const QString &exeDir)
{
    const QString shipped = QCoreApplication::applicationDirPath() + QStringLiteral("/Infothek/");
    struct Document { const char *rubrik, *kurz, *schlag, *datei; };
    const Document documents[] = {
        {"Formulare", "Fragebogen zum Haushaltsbudget", "budget einnahmen ausgaben fragebogen erstgespräch",
         "Fragebogen_Haushaltsbudget.rtf"},
        {"Infothek", "Informationsblatt P-Konto", "pfändungsschutz konto freibetrag bescheinigung",
         "P-Konto_Informationsblatt.rtf"},
        {"Musterbriefe", "Bitte um Ratenzahlung", "gläubiger raten ratenzahlung vergleich", "Musterbrief_Ratenzahlung.rtf"},
    };
    for (const Document &d : documents) {
        const QString rubrik = QString::fromUtf8(d.rubrik);
        const QString file = rubrik + u'/' + QLatin1String(d.datei);
        QFile::copy(shipped + file, exeDir + QStringLiteral("Infothek/") + file);
        dm.db.exec("insert into infothek (Kurz, Rubrik_id, Schlag, Datei) "
                   "select :k, Rubrik_id, :s, :d from inforubrik where Rubrik = :r",
                   {{"k", QString::fromUtf8(d.kurz)}, {"s", QString::fromUtf8(d.schlag)}, {"d", QLatin1String(d.datei)},
                    {"r", rubrik}});
    }
    const QDate today = QDate::currentDate();
    struct Appointment { int day; const char *time, *kurz, *lang; bool done; int user; };
    const Appointment appointments[] = {
        {0, "09:00:00", "Erstgespräch Familie Beispiel", "Unterlagen: Kontoauszüge, Mietvertrag, Gläubigerschreiben", true, 1},
        {0, "11:30:00", "Rückruf Städtische Werke wegen Abschlag", nullptr, false, 1},
        {0, "14:00:00", "Bescheinigung P-Konto ausstellen", "Zwei Kinder, Kindergeld beachten", false, 2},
        {1, "10:00:00", "Ratenangebot an Inkasso prüfen", nullptr, false, 1},
        {3, "08:30:00", "Termin Amtsgericht Kassel", "Gläubigerversammlung, Raum 214", false, 3},
        {-2, "15:00:00", "Haushaltsplan mit Frau Beispiel besprechen", nullptr, true, 1},
    };
    for (const Appointment &a : appointments)
        dm.db.exec("insert into termine (WvDatum, Uhrzeit, WvKurz, WvLang, WvErledigt, WvErldat, User_id) "
                   "values (:d, :t, :k, :l, :e, :ed, :u)",
                   {{"d", today.addDays(a.day).toString(Qt::ISODate)}, {"t", QLatin1String(a.time)},
                    {"k", QString::fromUtf8(a.kurz)}, {"l", a.lang ? QVariant(QString::fromUtf8(a.lang)) : QVariant()},
                    {"e", a.done}, {"ed", a.done ? QVariant(today.addDays(a.day).toString(Qt::ISODate)) : QVariant()},
                    {"u", a.user}});
}

} // namespace

int ScreenshotTour::run()
{
    QDir().mkpath(m_out);
    QTemporaryDir folder;
    for (const char *sub : {"Reportvorlagen", "Reportausgabe", "Infothek/Formulare", "Infothek/Infothek",
                            "Infothek/Musterbriefe"})
        QDir(folder.path()).mkpath(QLatin1String(sub));
    const QString exeDir = QDir(folder.path()).absolutePath() + u'/';

    ScriptedDialogs dialogs;
    DataModules dm;
    {
        Database setup;
        setup.open(exeDir);
        fillSampleData(setup);
        addSampleLetters(setup);
        addSampleBook(setup);
    }

    {
        dm.db.open(exeDir);
        dm.dmMP->qrUser->open();
        TFormPasswort login(dm);
        login.findChild<QComboBox *>(QStringLiteral("cbUser"))->setCurrentText(QStringLiteral("sb"));
        login.findChild<QLineEdit *>(QStringLiteral("ePasswort"))->setText(QStringLiteral("sb"));
        save(&login, QStringLiteral("01_login"));
        TFormPassHilfe help;
        save(&help, QStringLiteral("02_login_hilfe"));
        dm.db.close();
    }

    TFormMain window(dm, exeDir);
    RecordDialog::whenShown([](QDialog *dlg) {
        dlg->findChild<QComboBox *>(QStringLiteral("cbUser"))->setCurrentText(QStringLiteral("sb"));
        dlg->findChild<QLineEdit *>(QStringLiteral("ePasswort"))->setText(QStringLiteral("sb"));
        dlg->findChild<QPushButton *>(QStringLiteral("btnAnmelden"))->click();
    });
    if (!window.start())
        return 0;
    window.resize(1280, 800);
    addSamplePlan(dm);
    addSampleInfothekAndAppointments(dm, exeDir);
    const char *pages[8] = {"home", "budget", "haushaltsbuch", "kontakte", "briefe", "pfaendung", "infothek", "termine"};
    window.show();
    for (int node = 0; node < 8; ++node) {
        window.ActivatePage(node);
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("1%1_seite_%2.png").arg(node).arg(QLatin1String(pages[node])))))
            ++m_count;
    }
    // The Budget page is the widest: on a common office laptop it must fit without
    // scrolling, on the smallest screen still in use it scrolls.
    window.ActivatePage(TFormMain::Budget);
    for (const QSize screen : {QSize(1366, 768), QSize(1024, 768)}) {
        window.resize(screen - WindowChrome);
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(
                QStringLiteral("11_seite_budget_%1x%2.png").arg(screen.width()).arg(screen.height()))))
            ++m_count;
    }
    window.resize(1280, 800);
    // The sample plan's charts, then the same plan as a PDF in the preview window.
    if (auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("pghhdet"))) {
        tabs->setCurrentIndex(tabs->count() - 1);
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("11_seite_budget_grafik.png"))))
            ++m_count;
        tabs->setCurrentIndex(0);
    }
    if (!PdfConverter::program().isEmpty()) {
        // Made as PDF and opened by nobody; the preview window then shows that PDF.
        struct NoOpener : DocumentOpener
        {
            Result open(const QString &, int) override { return {}; }
        } nobody;
        Printout::installOpener(&nobody);
        // The shipped templates lie beside the tour's program, not in its scratch folder.
        const QVariant templates = dm.db.scalar(QStringLiteral("select FReportIn from firma"));
        dm.db.exec(QStringLiteral("update firma set FReportIn = :dir"),
                   {{QStringLiteral("dir"), QCoreApplication::applicationDirPath() + QStringLiteral("/Reportvorlagen/")}});
        dm.dmFirma->qrFirma->reopen();
        {
            Printout::OutputScope pdf(Printout::Output::Pdf);
            window.findChild<QToolButton *>(QStringLiteral("budTbutBudgetplan"))->click();
        }
        Printout::installOpener(nullptr);
        dm.db.exec(QStringLiteral("update firma set FReportIn = :dir"), {{QStringLiteral("dir"), templates}});
        dm.dmFirma->qrFirma->reopen();
        const QString rtf = Printout::outputFile(dm, QStringLiteral("Budgetplan.rtf"));
        QString pdf = rtf;
        pdf.replace(pdf.size() - 3, 3, QStringLiteral("pdf"));
        if (QFile::exists(pdf)) {
            PdfPreview preview(pdf, rtf, nullptr, &window);
            preview.resize(900, 760);
            preview.show();
            // The pages are rendered in the background.
            QElapsedTimer rendering;
            rendering.start();
            while (rendering.elapsed() < 1500)
                QApplication::processEvents(QEventLoop::AllEvents, 50);
            save(&preview, QStringLiteral("22_pdf_vorschau"));
        } else {
            qWarning("Keine PDF-Vorschau: %s", qPrintable(dialogs.texts().join(QStringLiteral(" | "))));
        }
    }
    // The Pfändung page with its table shown and an amount looked up.
    window.ActivatePage(TFormMain::Pfaendung);
    if (auto *page = window.findChild<QWidget *>(QStringLiteral("pfaendungPage"))) {
        page->findChild<QToolButton *>(QStringLiteral("pftbutAktivieren"))->click();
        page->findChild<QLineEdit *>(QStringLiteral("pfEsuchen"))->setText(QStringLiteral("2.350,00"));
        page->findChild<QLineEdit *>(QStringLiteral("eUh"))->setText(QStringLiteral("1"));
        page->findChild<QPushButton *>(QStringLiteral("pfbutSuchen"))->click();
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("15_seite_pfaendung_gesucht.png"))))
            ++m_count;
    }
    // The household book filtered to November's account bookings, then its summary.
    window.ActivatePage(TFormMain::Haushaltsbuch);
    if (auto *page = window.findChild<QWidget *>(QStringLiteral("hhbuchPage"))) {
        page->findChild<QLineEdit *>(QStringLiteral("mevon"))->setText(QStringLiteral("01.11.2026"));
        page->findChild<QLineEdit *>(QStringLiteral("mebis"))->setText(QStringLiteral("30.11.2026"));
        page->findChild<QComboBox *>(QStringLiteral("hhcbKonto"))->setCurrentText(QStringLiteral("Konto"));
        page->findChild<QPushButton *>(QStringLiteral("butHhFilter"))->click();
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("12_seite_haushaltsbuch_gefiltert.png"))))
            ++m_count;
        page->findChild<QComboBox *>(QStringLiteral("hhcbKonto"))->setCurrentText(QStringLiteral("<Alle>"));
        page->findChild<QPushButton *>(QStringLiteral("butHhFilter"))->click();
        page->findChild<QToolButton *>(QStringLiteral("hhtbutrechnen"))->click();
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("12_seite_haushaltsbuch_zusammenfassung.png"))))
            ++m_count;
        // The charts over the whole book's three months.
        if (auto *tabs = page->findChild<QTabWidget *>(QStringLiteral("pcHhbuch"))) {
            page->findChild<QPushButton *>(QStringLiteral("hhbutOhneFilter"))->click();
            tabs->setCurrentWidget(page->findChild<QWidget *>(QStringLiteral("tbsGrafik")));
            QApplication::processEvents();
            if (window.grab().save(QDir(m_out).filePath(QStringLiteral("12_seite_haushaltsbuch_grafik.png"))))
                ++m_count;
            tabs->setCurrentIndex(0);
        }
        TFormHhbuchEdit books(dm, &window);
        save(&books, QStringLiteral("80_haushaltsbuch_bearbeiten"));
        TFormHHplanWiBu series(dm, {}, &window);
        save(&series, QStringLiteral("81_wiederkehrende_buchungen"));
    }
    window.ActivatePage(TFormMain::Home);

    TFormAbout about(&window);
    save(&about, QStringLiteral("20_about"));
    TFormFortschritt progress(QStringLiteral("Die Datenbank wird reorganisiert..."), &window);
    save(&progress, QStringLiteral("21_fortschritt"));

    dm.dmMP->qrUser->reopen();
    TFormUser users(dm, &window);
    save(&users, QStringLiteral("30_benutzer"));
    TFormUserErfassen capture(dm, &window);
    save(&capture, QStringLiteral("31_benutzer_erfassen"));
    dm.dmMP->qrUser->cancel();

    TFormFirma firma(dm, exeDir, &window);
    if (auto *tabs = firma.findChild<QTabWidget *>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            save(&firma, QStringLiteral("4%1_eigene_stammdaten").arg(i));
        }
    } else {
        save(&firma, QStringLiteral("40_eigene_stammdaten"));
    }
    dm.dmFirma->qrFirma->cancel();

    TFormBuland buland(dm, &window);
    save(&buland, QStringLiteral("50_bundeslaender"));

    window.ActivatePage(TFormMain::Budget);
    TFormBudgetSuchen plans(dm, &window);
    save(&plans, QStringLiteral("60_budget_planliste"));

    TFormPfandInit pfand(dm, &window);
    save(&pfand, QStringLiteral("70_pfaendung_grunddaten"));

    // The letters page on its subject tab, the text modules, and the help on the Home page
    // and in its window.
    window.ActivatePage(TFormMain::Briefe);
    if (auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("brTabs"))) {
        tabs->setCurrentIndex(1);
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("14_seite_briefe_betreff.png"))))
            ++m_count;
        tabs->setCurrentIndex(0);
    }
    dm.dmSchrift->openTextModules();
    {
        TFormTbau modules(dm, &window);
        save(&modules, QStringLiteral("80_textbausteine"));
    }
    window.ActivatePage(TFormMain::Home);
    if (auto *help = window.findChild<QPushButton *>(QStringLiteral("btnHilfe"))) {
        help->click();
        if (auto *search = window.findChild<QLineEdit *>(QStringLiteral("eHilfeSuchen")))
            search->setText(QStringLiteral("Budget"));
        if (auto *go = window.findChild<QPushButton *>(QStringLiteral("btnHilfeGo")))
            go->click();
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("10_seite_home_hilfe.png"))))
            ++m_count;
        help->click();
    }
    {
        TFormProgInfo helpWindow(dm, &window);
        helpWindow.setSearchText(QStringLiteral("Briefe"));
        save(&helpWindow, QStringLiteral("81_hilfetexte"));
    }

    // The contact capture window on the first contact, and the selection after a search.
    window.ActivatePage(TFormMain::Kontakte);
    {
        TFormKontakteErfassen capture(dm, &window);
        save(&capture, QStringLiteral("90_kontakte_schnellerfassung"));
        TFormKontWahl choose(dm, &window);
        choose.findChild<QLineEdit *>(QStringLiteral("eSuchen"))->setText(QStringLiteral("kassel"));
        choose.findChild<QAbstractButton *>(QStringLiteral("rbOrt"))->setChecked(true);
        choose.findChild<QPushButton *>(QStringLiteral("butGo"))->click();
        save(&choose, QStringLiteral("91_kontakt_waehlen"));
    }

    // A client with her creditors on the "Gläubiger" tab, the settlement plan split over
    // them with two answers, and the account certificate.
    {
        dm.db.exec("insert into adressen (Name1, Suna, Strasse, Hausnr, Plz, Ort, Akunde, Anrede) values "
                "('Anna Müller', 'Müller, Anna', 'Hauptstraße', '1', '28195', 'Bremen', :k, 'Frau')",
                {{"k", true}});
        const int client = dm.db.scalar("select max(adr_id) from adressen").toInt();
        const QList<QPair<QString, double>> claims = {{"Sparkasse Nord", 8200.00}, {"Stadtwerke Bremen AG", 1240.37},
                                                      {"Finanzamt Bremen", 930.10}, {"Inkasso Schuhmann GmbH", 455.55}};
        int n = 0;
        for (const auto &[creditor, amount] : claims) {
            dm.db.exec("insert into adressen (Name1, Suna, Strasse, Plz, Ort) values (:n, :n, 'Am Markt 1', '28195', 'Bremen')",
                    {{"n", creditor}});
            dm.db.exec("insert into forderung (Kunde_id, Glaeub_id, Aktenzeichen, Art, Hauptforderung, Zinsen, Kosten, Standdat) "
                    "values (:k, (select max(adr_id) from adressen), :az, 'Bankkredit', :h, 12.5, 5, :d)",
                    {{"k", client}, {"az", QStringLiteral("AZ-%1/2026").arg(++n)}, {"h", amount}, {"d", QDate(2026, 11, 30)}});
        }
        dm.db.exec("insert into sbplan (Kunde_id, Planart, Plandat, Laufzeit, Rate) values (:k, 'Ratenplan', :d, 36, 240)",
                {{"k", client}, {"d", QDate(2026, 12, 1)}});
        const int plan = dm.db.scalar("select max(plan_id) from sbplan").toInt();
        PlanRules::computeLines(dm.db, plan);
        dm.db.exec("update sbposten set antwort = 'zugestimmt', antwortdat = :d where aktenzeichen in ('AZ-1/2026', 'AZ-3/2026')",
                {{"d", QDate(2026, 12, 18)}});
        dm.db.exec("insert into pkonto (Kunde_id, Personen, Kindergeld, Kontoinhaber, Kreditinstitut, Iban, Gueltigab, Ausstelldat) "
                "values (:k, 2, 518, 'Anna Müller', 'Sparkasse Nord', 'DE21290501010001234567', :d, :d)",
                {{"k", client}, {"d", QDate(2026, 12, 1)}});
        window.ActivatePage(TFormMain::Kontakte);
        dm.dmAdressen->qrKontakte->reopen();
        dm.dmAdressen->qrKontakte->locate(QStringLiteral("Adr_id"), client);
        SettlementData::of(dm).openAll();
        if (auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("adrTabs"))) {
            tabs->setCurrentIndex(1);
            QApplication::processEvents();
            if (window.grab().save(QDir(m_out).filePath(QStringLiteral("13_seite_kontakte_glaeubiger.png"))))
                ++m_count;
            tabs->setCurrentIndex(0);
        }
        TFormSbPlan plans(dm, &window);
        save(&plans, QStringLiteral("94_schuldenbereinigungsplan"));
        TFormPKonto pkonto(dm, &window);
        save(&pkonto, QStringLiteral("95_pkonto_bescheinigung"));
    }

    // The appointments of all dates with the edit window on one, and the rubric window.
    window.ActivatePage(TFormMain::Termine);
    if (auto *page = window.findChild<QWidget *>(QStringLiteral("terminePage"))) {
        page->findChild<QToolButton *>(QStringLiteral("aufTbutAlle"))->click();
        QApplication::processEvents();
        if (window.grab().save(QDir(m_out).filePath(QStringLiteral("17_seite_termine_alle.png"))))
            ++m_count;
        TFormTermineEdit edit(dm, &window);
        save(&edit, QStringLiteral("92_termine_bearbeiten"));
    }
    window.ActivatePage(TFormMain::Infothek);
    dm.dmExtras->qrInfoRubrikEdit->reopen();
    {
        TFormInfoRubrik rubrics(dm, &window);
        save(&rubrics, QStringLiteral("93_infothek_rubrik"));
    }
    dm.dmExtras->qrInfoRubrikEdit->close();

    window.endProgram();
    return m_count;
}
