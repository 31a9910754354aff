// The help texts a new database starts with: one for every page and window whose "Hilfe"
// button looks them up by its heading, written for the adviser at work.
#include "data/Database.h"
#include "data/FirstStartData.h"

#include <utility>

namespace FirstStartData {

namespace {

// Heading and text; the heading holds the keyword its "Hilfe" button searches for.
const std::pair<const char *, const char *> HelpTexts[] = {
    {"Budget - Haushaltsplan erstellen",
     "Auf der Seite Budget entsteht der Haushaltsplan eines Haushalts: alle regelmäßigen Einnahmen und Ausgaben, "
     "umgerechnet auf einen Monat.\n\n"
     "So gehen Sie vor:\n"
     "1. Mit \"Bearbeiten\" die Planliste öffnen, \"Neu\" wählen und eine Bezeichnung eingeben (z. B. den Namen "
     "des Haushalts und das Jahr).\n"
     "2. Erf.-Datum, Nettoeinkommen und Personen im Haushalt eintragen.\n"
     "3. In den Registern Einnahmen, Wohnkosten, Versicherungen, Verkehr, Allgemein, Lebenshaltung, Sonstige "
     "Kredite und Hauskredite die einzelnen Positionen erfassen: Bezeichnung, Fälligkeit (Monat der ersten "
     "Zahlung im Jahr), Zahlungsrhythmus und Zahlbetrag. Der Monatsbetrag wird berechnet.\n"
     "4. Jede Position mit \"Speichern\" sichern; die Summen werden dabei neu berechnet.\n\n"
     "Die Summen je Monat lesen sich von oben nach unten: vom Einkommen werden Wohnkosten, Versicherungen, "
     "Verkehrskosten und allgemeine Fixkosten abgezogen (ZwiSu), dann die Lebenshaltung (Max - K: was für "
     "Kredite bleibt), dann die sonstigen Kredite (Max Haus) und zuletzt die Hauskredite. Das Ergebnis ist der "
     "Überschuss oder das Defizit des Haushalts im Monatsdurchschnitt. Die Prozentwerte zeigen den Anteil am "
     "Einkommen.\n\n"
     "Ausdrucke: \"HH - Monat\" druckt den Plan mit allen Positionen, \"Budgetplan\" die zwölf Monate "
     "nebeneinander (Monate mit hohen Jahreszahlungen fallen sofort auf), \"Blankoformular\" einen leeren "
     "Erfassungsbogen für das Erstgespräch.\n\n"
     "\"Pfändung\" speichert den Plan und ermittelt aus dem Nettoeinkommen und den Personen den pfändbaren "
     "Betrag nach der gültigen Pfändungstabelle."},
    {"Haushaltsbuch - Einnahmen und Ausgaben buchen",
     "Im Haushaltsbuch werden die tatsächlichen Einnahmen und Ausgaben mit Datum gebucht. So sieht der "
     "Haushalt, wohin das Geld wirklich geht, und kann es mit dem Haushaltsplan vergleichen.\n\n"
     "So gehen Sie vor:\n"
     "1. Mit \"Neues Haushaltsbuch\" ein Buch anlegen (z. B. eines je Jahr). Wer ohne Buch bucht, wird nach "
     "einem Namen gefragt und das Buch wird angelegt.\n"
     "2. Buchungen erfassen: Datum, Bereich (Einkommen, Wohnkosten, ...), Zahlungsweg (Bar oder Konto), "
     "Betrag und Beschreibung.\n"
     "3. Wiederkehrende Buchungen (Miete, Raten) einmal mit Rhythmus und Anzahl erfassen; das Programm legt alle "
     "Termine auf einmal an. Fällt der Tag in einem Monat weg (31.), wird der Monatsletzte genommen.\n"
     "4. Mit \"Von\"/\"Bis\", Bereich und Zahlungsweg filtern und mit \"Rechnen\" auswerten.\n\n"
     "Die Zusammenfassung zeigt die Summen der Bereiche für die angezeigten Buchungen und, wie im "
     "Haushaltsplan, was nach den festen Kosten, nach der Lebenshaltung und nach den Krediten übrig bleibt."},
    {"Kontakte - Adressen verwalten",
     "Unter Kontakte stehen alle Anschriften, mit denen die Beratung zu tun hat: Klientinnen und Klienten, "
     "Gläubiger, Inkassobüros, Gerichte, Ämter.\n\n"
     "- \"Kontakt auswählen\" sucht einen Kontakt; \"Kontakt bearbeiten\" öffnet ihn zum Ändern. Einen neuen "
     "Kontakt legen Sie im Fenster \"Kontakt bearbeiten\" an.\n"
     "- Der Suchname ordnet die Liste; wählen Sie ihn so, wie Sie den Kontakt suchen würden (z. B. "
     "\"STADTWERKE BREMEN\").\n"
     "- Nach der Postleitzahl wird der Ort ergänzt. Ist eine Postleitzahl neu, fragt das Programm, ob sie "
     "gelernt werden soll.\n"
     "- Ist \"Postfachadresse verwenden\" gesetzt, gehen Briefe an das Postfach.\n"
     "- Karteikarte und Kontaktliste werden über die Ausdruck-Schaltflächen gedruckt."},
    {"Kontakte wählen - Suche",
     "Im Fenster \"Kontaktadressen wählen ...\" suchen Sie einen Kontakt: Filter wählen (Suchname, Name 1, "
     "Name 2, Plz oder Ort), den Anfang des Begriffs eingeben und \"Suchen\" drücken. Groß- und Kleinschreibung "
     "spielt keine Rolle. Die Zahl der Treffer steht unten.\n\n"
     "\"Übernehmen\" übernimmt den markierten Kontakt (z. B. als Empfänger eines Briefes); \"Ende\" schließt "
     "das Fenster, ohne etwas zu übernehmen."},
    {"Briefe - Schriftwechsel",
     "Auf der Seite Briefe schreiben Sie Briefe an Ihre Kontakte. Jede Beraterin und jeder Berater sieht nur "
     "die eigenen Briefe.\n\n"
     "So gehen Sie vor:\n"
     "1. \"Neu\" legt einen Brief mit dem heutigen Datum und Ihren Daten als Sachbearbeiter an.\n"
     "2. \"Empfänger wählen\" übernimmt einen Kontakt als Empfänger; ein Ansprechpartner kann ergänzt werden.\n"
     "3. \"Titel\" setzt den Suchnamen des Empfängers als Anfang des Titels, unter dem der Brief in der Liste "
     "steht.\n"
     "4. Im Register Betreff die Betreffzeilen und die Zeichen eintragen, im Register Text den Brieftext. "
     "\"Textbausteine\" fügt gespeicherte Absätze am Ende des Textes ein.\n"
     "5. \"Drucken\" erstellt den Brief: \"Standardformular\" als Geschäftsbrief für ein Fensterkuvert, "
     "\"Internes Formular\" als interne Mitteilung.\n\n"
     "\"Text kopieren\" legt einen neuen Brief mit demselben Text an, etwa für gleichlautende Schreiben an "
     "mehrere Gläubiger."},
    {"Pfändung - pfändbaren Betrag ermitteln",
     "Die Seite Pfändung zeigt, welcher Teil eines Nettoeinkommens gepfändet werden darf. Grundlage ist die "
     "Pfändungstabelle, die jeweils zum 1. Juli neu bekannt gemacht wird.\n\n"
     "Nettoeinkommen und die Zahl der Personen, denen Unterhalt gewährt wird, eingeben und suchen. Das "
     "Ergebnis ist der monatlich pfändbare Betrag. Mit \"Aktivieren\" wird die ganze Tabelle angezeigt, mit "
     "\"Drucken\" gedruckt.\n\n"
     "Hinweis: Die Tabelle ersetzt keine Prüfung des Einzelfalls (z. B. Erhöhung des Freibetrags durch das "
     "Vollstreckungsgericht oder ein Pfändungsschutzkonto)."},
    {"Pfändung - Grundwerte der Tabelle",
     "Im Fenster Pfändungstabelle werden die Grundwerte eingetragen, aus denen das Programm die ganze "
     "Pfändungstabelle berechnet: die Stufen des Nettoeinkommens und je Zahl der Unterhaltsberechtigten der "
     "Anfangsbetrag und die Steigerung je Stufe. Übernehmen Sie die Werte aus der jährlichen Bekanntmachung "
     "und wählen Sie \"Tabelle initialisieren\". Vorher wird geprüft, ob die Werte eine gültige Tabelle "
     "ergeben; die alte Tabelle bleibt sonst unverändert."},
    {"Infothek - Formulare und Merkblätter",
     "Die Infothek sammelt Dokumente für die Beratung: Formulare, Merkblätter und Musterbriefe. Jede Rubrik hat "
     "einen Ordner; zu jedem Dokument stehen eine Kurzbeschreibung, Schlagworte und der Dateiname.\n\n"
     "Rubrik wählen, Dokument wählen und \"Drucken\": das Dokument wird mit Ihren Daten gefüllt und in der "
     "Textverarbeitung geöffnet. Die Suche findet Dokumente nach Kurzbeschreibung oder Schlagwort. Neue "
     "Rubriken legen Sie im Menü unter \"Infothek- Rubrik\" an."},
    {"Termine - Wiedervorlagen und Aufgaben",
     "Unter Termine stehen Wiedervorlagen und Aufgaben mit Datum und Uhrzeit. Im Kalender wählen Sie den Tag; "
     "der Filter zeigt offene oder erledigte Termine. Ein erledigter Termin erhält das Datum der Erledigung. "
     "Die Terminliste kann gedruckt werden, etwa als Tagesplan."},
    {"Programm - erste Schritte",
     "Nach der Installation:\n"
     "1. Unter Optionen die eigenen Stammdaten eintragen: Anschrift, Telefon, Bankverbindung und die Ordner "
     "für Vorlagen und Ausdrucke.\n"
     "2. Für jede Beraterin und jeden Berater einen Benutzer mit Kennwort anlegen; das Kennwort des Benutzers "
     "\"sb\" ändern.\n"
     "3. Die Postleitzahlen lernt das Programm bei der Arbeit.\n\n"
     "Alle Beträge werden centgenau gespeichert. Mehrere Arbeitsplätze können dieselbe Datenbank nutzen."},
};

// The texts of the parts added later: a new database starts with them, and an older one
// gets those whose heading it does not hold yet.
const std::pair<const char *, const char *> LaterHelpTexts[] = {
    {"Gläubiger - Forderungen eines Klienten",
     "Auf der Seite Kontakte zeigt das Register \"Gläubiger\" die Forderungen des gewählten Klienten.\n\n"
     "So gehen Sie vor:\n"
     "1. Den Klienten in der Kontaktliste wählen.\n"
     "2. \"Neu\" legt eine Forderung an; mit \"Gläubiger wählen ...\" wählen Sie den Gläubiger aus den Kontakten.\n"
     "3. Aktenzeichen, Art, Hauptforderung, Zinsen, Kosten und den Stand eintragen; \"tituliert\" setzen, wenn "
     "ein Vollstreckungstitel vorliegt. Der Gesamtbetrag wird berechnet.\n"
     "4. \"Speichern\" sichert die Forderung.\n\n"
     "Unter der Liste steht die Zahl der Forderungen und ihre Summe. \"Einigungsplan\" und \"P-Konto\" öffnen "
     "den Schuldenbereinigungsplan und die P-Konto-Bescheinigung des Klienten."},
    {"Einigungsplan - Schuldenbereinigungsplan",
     "Der Einigungsplan (Schuldenbereinigungsplan) teilt eine monatliche Rate oder eine Einmalzahlung auf alle "
     "Gläubiger des Klienten auf, jeweils im Verhältnis ihrer Forderung.\n\n"
     "So gehen Sie vor:\n"
     "1. Im Register \"Gläubiger\" die Forderungen erfassen und \"Einigungsplan\" wählen.\n"
     "2. \"Neu\" legt einen Plan an: Datum, Art (Raten oder Einmalzahlung) und Laufzeit in Monaten.\n"
     "3. Die Rate eintragen oder mit \"Rate übernehmen\" aus dem Haushaltsplan holen (pfändbarer Betrag oder "
     "Überschuss).\n"
     "4. \"Aufteilen\" berechnet Anteil, Monatsrate, Gesamtbetrag und Quote je Gläubiger.\n"
     "5. \"Plan drucken\" druckt den Plan; \"Gläubiger anschreiben\" erstellt die Briefe an alle Gläubiger und "
     "legt sie bei den Briefen ab.\n"
     "6. Die Antwort jedes Gläubigers mit Datum eintragen und mit \"Antwort speichern\" sichern.\n\n"
     "Lehnen Gläubiger ab, stellt \"Scheitern bescheinigen\" die Bescheinigung über den gescheiterten "
     "außergerichtlichen Einigungsversuch aus."},
    {"P-Konto - Bescheinigung des Freibetrags",
     "Das Fenster \"P-Konto-Bescheinigung\" (im Register \"Gläubiger\" über \"P-Konto\") erstellt die "
     "Bescheinigung über einen erhöhten Freibetrag auf dem Pfändungsschutzkonto.\n\n"
     "So gehen Sie vor:\n"
     "1. Kontoinhaber/in, Kreditinstitut und IBAN eintragen.\n"
     "2. Die unterhaltenen Personen, das Kindergeld und weitere geschützte Leistungen mit ihrer Art eintragen, "
     "einmalige Leistungen gesondert.\n"
     "3. Gültigkeit (ab, bis) und das Ausstellungsdatum eintragen und speichern.\n"
     "4. \"Bescheinigung drucken\" druckt die Bescheinigung für die Bank.\n\n"
     "Das Fenster zeigt, wie sich der monatliche Freibetrag zusammensetzt: Grundfreibetrag, Erhöhungen für "
     "unterhaltene Personen, Kindergeld und weitere Leistungen."},
    {"Kontoauszug-Import - Umsätze ins Haushaltsbuch",
     "\"Kontoauszug importieren…\" auf der Seite Haushaltsbuch liest die Umsätze einer Datei der Bank "
     "(CSV-Export oder CAMT.053) in das gewählte Haushaltsbuch.\n\n"
     "So gehen Sie vor:\n"
     "1. Ein Haushaltsbuch wählen (es muss gespeichert sein) und die Datei der Bank auswählen.\n"
     "2. Das Programm erkennt die Bank und zeigt ihr Bankprofil; bei einer unbekannten CSV-Datei ordnen Sie die "
     "Spalten Datum, Betrag, Empfänger / Auftraggeber und Buchungstext selbst zu.\n"
     "3. In der Vorschau jeder Buchung eine Kategorie geben. Buchungen, die schon im Haushaltsbuch stehen, sind "
     "markiert und werden nicht doppelt übernommen.\n"
     "4. \"Übernehmen\" bucht die markierten Umsätze; \"Abbrechen\" bucht nichts."},
    {"Soll/Ist - Plan und Haushaltsbuch vergleichen",
     "Das Register \"Soll/Ist\" auf der Seite Haushaltsbuch stellt den Haushaltsplan (Soll) den Buchungen des "
     "Haushaltsbuchs (Ist) gegenüber, je Kategorie und Monat, mit der Abweichung Ist − Soll.\n\n"
     "So gehen Sie vor:\n"
     "1. Den Haushaltsplan und das Jahr wählen.\n"
     "2. Mit \"Zuordnung…\" legen Sie fest, zu welcher Kategorie des Haushaltsplans eine Kategorie des "
     "Haushaltsbuchs zählt, oder dass sie nicht zählt.\n"
     "3. \"Drucken\" druckt den Vergleich.\n\n"
     "Für Soll/Ist werden ein Haushaltsbuch und ein Haushaltsplan gebraucht."},
    {"Datensicherung - sichern und zurückspielen",
     "Die Datenbankdatei wird im Ordner \"Datensicherung\" neben ihr gesichert: bei jedem Programmende, vor "
     "dem Reorganisieren und über \"Datei > Datensicherung erstellen\". Jede Sicherung wird geprüft; ältere "
     "werden ausgedünnt, die letzten zehn und eine je Monat des letzten Jahres bleiben.\n\n"
     "Zurückspielen: \"Datei > Datensicherung zurückspielen...\" und die Sicherung wählen (Finorra-Datum-"
     "Uhrzeit.abs). Die jetzige Datenbank wird vorher selbst gesichert; danach startet das Programm neu. "
     "Solange ein anderer Arbeitsplatz die Datenbank benutzt, wird nichts zurückgespielt.\n\n"
     "Liegt die Datenbank auf einem PostgreSQL-Server, ist ihre Sicherung Sache der Serververwaltung."},
    {"Datenbank - Datei oder Server wählen",
     "Unter \"Datei > Globale Einstellungen > Datenbank\" (oder \"Optionen > Datenbank...\") wählen Sie, wo "
     "die Daten liegen:\n"
     "- \"SQLite-Datei (Finorra.abs)\": eine Datei neben dem Programm, für einen Arbeitsplatz oder eine "
     "Freigabe im Netz.\n"
     "- \"PostgreSQL-Server\": die gemeinsame Datenbank der Beratungsstelle; dazu Rechner, Port, Datenbank und "
     "Benutzer eintragen. Das Kennwort wird beim Start gefragt.\n\n"
     "Die Einstellung gilt nach einem Neustart des Programms. \"Optionen > Datenbank reorganisieren\" schreibt "
     "die Datenbank neu und gibt ungenutzten Platz frei; danach muss das Programm neu gestartet werden."},
};

void insertHelpText(const Database &db, const char *heading, const char *text)
{
    db.exec(QStringLiteral("insert into programminfo (Klasse, Rubrik, Text) values ('Hilfe', :r, :t)"),
            {{QStringLiteral("r"), QString::fromUtf8(heading)}, {QStringLiteral("t"), QString::fromUtf8(text)}});
}

} // namespace

void writeHelpTexts(const Database &db)
{
    for (const auto &[heading, text] : HelpTexts)
        insertHelpText(db, heading, text);
    for (const auto &[heading, text] : LaterHelpTexts)
        insertHelpText(db, heading, text);
}

void addLaterHelpTexts(const Database &db)
{
    // A text of the same heading may be the office's own: it stays.
    for (const auto &[heading, text] : LaterHelpTexts) {
        const QVariant found = db.scalar(QStringLiteral("select count(*) from programminfo where rubrik = :r"),
                                         {{QStringLiteral("r"), QString::fromUtf8(heading)}});
        if (found.toInt() == 0)
            insertHelpText(db, heading, text);
    }
}

} // namespace FirstStartData
