// The header words banks name their columns with, and the mapping read from them.
#include "hhbook/import/CsvColumns.h"

#include <QRegularExpression>

#include <algorithm>

namespace CsvStatement {

namespace {

// The words banks name their columns with, normalised, the likeliest first. A new bank's
// word goes into its role's list.
struct Synonyms
{
    int ColumnMapping::*role;
    std::initializer_list<const char *> names;
};
const Synonyms KnownHeaders[] = {
    {&ColumnMapping::date, {"buchungstag", "buchungsdatum", "buchung", "buchungstagdatum", "datum", "date", "bookingdate",
                            "buchdatum", "transactiondate", "belegdatum"}},
    {&ColumnMapping::valueDate, {"valutadatum", "valuta", "wertstellung", "wertstellungsdatum", "wertstellungvaluta",
                                 "valutadatumwert", "wert", "wertdatum", "valuedate"}},
    {&ColumnMapping::debit, {"soll", "sollbetrag", "ausgang", "belastung", "ausgaben", "abgang", "sollumsatz", "debit",
                             "lastschriften"}},
    {&ColumnMapping::credit, {"haben", "habenbetrag", "eingang", "einnahmen", "zugang", "habenumsatz", "credit",
                              "gutschriften"}},
    {&ColumnMapping::amount, {"betrag", "betrageur", "betragineur", "umsatz", "umsatzineur", "umsatzeur", "betragbuchung",
                              "buchungsbetrag", "amount", "amounteur", "transactionamount", "betraginwaehrung"}},
    {&ColumnMapping::indicator, {"sh", "sollhaben", "habensoll", "kennzeichen", "sollhabenkennzeichen", "debitcredit",
                                 "dc", "cdtdbtind", "creditdebit"}},
    {&ColumnMapping::text, {"verwendungszweck", "vorgangverwendungszweck", "buchungsdetails", "paymentreference",
                            "zweck", "verwendung", "beschreibung", "description", "buchungsinformationen", "details",
                            "buchungstext", "text", "purpose", "umsatzart", "vorgang"}},
    {&ColumnMapping::counterparty, {"beguenstigterzahlungspflichtiger", "namezahlungsbeteiligter",
                                    "auftraggeberempfaenger", "beguenstigterauftraggeber", "auftraggeberbeguenstigter",
                                    "empfaengerzahlungspflichtiger", "zahlungspflichtigerempfaenger", "senderempfaenger",
                                    "empfaengerauftraggeber", "zahlungsbeteiligter", "gegenpartei", "namegegenpartei",
                                    "counterparty", "payee", "partner", "name", "auftraggeberzahlungsempfaenger"}},
    {&ColumnMapping::payer, {"zahlungspflichtige", "zahlungspflichtiger", "auftraggeber", "absender", "payer",
                             "zahler"}},
    {&ColumnMapping::payee, {"zahlungsempfaenger", "empfaenger", "beguenstigter", "recipient", "zahlungsempfaengerin"}},
    {&ColumnMapping::reference, {"kundenreferenzendtoend", "endtoendreferenz", "endtoendid", "kundenreferenz",
                                 "referenz", "bankreferenz"}},
    {&ColumnMapping::currency, {"waehrung", "currency", "ccy", "whrg"}},
    {&ColumnMapping::foreignAmount, {"amountforeigncurrency", "betraginfremdwaehrung", "fremdwaehrungsbetrag",
                                     "originalbetrag", "betragfremdwaehrung"}},
    {&ColumnMapping::foreignCurrency, {"typeforeigncurrency", "fremdwaehrung", "originalwaehrung"}},
};

QString field(const QStringList &row, int column)
{
    return column >= 0 && column < row.size() ? row.at(column).simplified() : QString();
}

} // namespace

QString withoutBrackets(const QString &name)
{
    static const QRegularExpression brackets(QStringLiteral(R"(\([^)]*\))"));
    QString bare = name;
    return bare.remove(brackets);
}

QVector<QList<int ColumnMapping::*>> rolesOf(const QStringList &header)
{
    QVector<QList<int ColumnMapping::*>> out(header.size());
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString full = normalized(header.at(i));
        const QString shortName = normalized(withoutBrackets(header.at(i)));
        for (const Synonyms &s : KnownHeaders)
            for (const char *n : s.names)
                if (full == QLatin1String(n) || shortName == QLatin1String(n)) {
                    out[i].append(s.role);
                    break;
                }
    }
    return out;
}

// How well a line serves as the header: the number of known column names, if it names a
// date and an amount (or debit and credit); 0 otherwise.
int headerScore(const QStringList &fields)
{
    // a line of bookings has dates and amounts; a header has no digit but in brackets
    for (const QString &f : fields)
        for (QChar c : withoutBrackets(f))
            if (c.isDigit())
                return 0;
    const auto roles = rolesOf(fields);
    bool date = false, amount = false, debit = false, credit = false;
    int known = 0;
    for (const auto &r : roles) {
        if (!r.isEmpty())
            ++known;
        date = date || r.contains(&ColumnMapping::date);
        amount = amount || r.contains(&ColumnMapping::amount);
        debit = debit || r.contains(&ColumnMapping::debit);
        credit = credit || r.contains(&ColumnMapping::credit);
    }
    return date && (amount || (debit && credit)) ? known : 0;
}

static QString indicatorWord(const QString &text)
{
    return text.trimmed().toUpper();
}

// S, Soll, D, DBIT, "-" for a debit; H, Haben, C, CRDT, "+" for a credit.
int indicatorSign(const QString &text)
{
    const QString w = indicatorWord(text);
    if (w == u"S" || w == u"SOLL" || w == u"D" || w == u"DR" || w == u"DBIT" || w == u"DEBIT" || w == u"-")
        return -1;
    if (w == u"H" || w == u"HABEN" || w == u"C" || w == u"CR" || w == u"CRDT" || w == u"CREDIT" || w == u"+")
        return 1;
    return 0;
}

QString normalized(const QString &word)
{
    static const QRegularExpression gender(QStringLiteral(R"([*:_/](in|innen|r|e)\b|\((in|innen|r)\))"));
    QString w = word.toLower();
    w.replace(gender, QString());
    QString out;
    for (QChar c : std::as_const(w)) {
        switch (c.unicode()) {
        case 0xE4: out += QLatin1String("ae"); break;
        case 0xF6: out += QLatin1String("oe"); break;
        case 0xFC: out += QLatin1String("ue"); break;
        case 0xDF: out += QLatin1String("ss"); break;
        default:
            if (c.isLetterOrNumber())
                out += c;
        }
    }
    return out;
}

ColumnMapping guessMapping(const QStringList &header)
{
    const auto roles = rolesOf(header);
    QVector<bool> used(header.size(), false);
    ColumnMapping m;
    // Each role takes the column of its likeliest word, in the order of the table above.
    auto take = [&](int ColumnMapping::*role) {
        for (const Synonyms &s : KnownHeaders) {
            if (s.role != role)
                continue;
            for (const char *n : s.names)
                for (qsizetype i = 0; i < header.size(); ++i) {
                    if (used.at(i) || !roles.at(i).contains(role))
                        continue;
                    if (normalized(header.at(i)) == QLatin1String(n)
                        || normalized(withoutBrackets(header.at(i))) == QLatin1String(n)) {
                        used[i] = true;
                        return static_cast<int>(i);
                    }
                }
        }
        return -1;
    };
    m.date = take(&ColumnMapping::date);
    m.valueDate = take(&ColumnMapping::valueDate);
    // separate debit and credit columns win over an amount column beside them, which such
    // layouts tend to leave empty
    m.debit = take(&ColumnMapping::debit);
    m.credit = take(&ColumnMapping::credit);
    if (m.debit < 0 || m.credit < 0) {
        for (int c : {m.debit, m.credit})
            if (c >= 0)
                used[c] = false;
        m.debit = m.credit = -1;
        m.amount = take(&ColumnMapping::amount);
    }
    m.indicator = take(&ColumnMapping::indicator);
    m.counterparty = take(&ColumnMapping::counterparty);
    // payer and payee columns side by side: the other party depends on the sign
    const int payer = take(&ColumnMapping::payer);
    const int payee = take(&ColumnMapping::payee);
    if (payer >= 0 && payee >= 0 && m.counterparty < 0) {
        m.payer = payer;
        m.payee = payee;
    } else if (m.counterparty < 0) {
        m.counterparty = payer >= 0 ? payer : payee;
    }
    m.text = take(&ColumnMapping::text);
    m.reference = take(&ColumnMapping::reference);
    m.foreignAmount = take(&ColumnMapping::foreignAmount);
    m.foreignCurrency = take(&ColumnMapping::foreignCurrency);
    // of two currency columns (balance and amount) the one after the amount
    for (qsizetype i = 0; i < header.size(); ++i)
        if (!used.at(i) && roles.at(i).contains(&ColumnMapping::currency)) {
            if (m.currency < 0 || (m.amount >= 0 && i > m.amount && m.currency < m.amount))
                m.currency = static_cast<int>(i);
        }
    return m;
}

ColumnMapping guessMapping(const Table &table)
{
    ColumnMapping m = guessMapping(table.header);
    if (m.indicator >= 0 || m.amount < 0)
        return m;
    // An S/H column often has no name: a column holding nothing but S and H.
    const QList<int> mapped = {m.date, m.valueDate, m.amount, m.text, m.counterparty, m.payer, m.payee, m.reference,
                               m.currency, m.foreignAmount, m.foreignCurrency};
    for (int c = 0; c < table.header.size(); ++c) {
        if (mapped.contains(c))
            continue;
        int signs = 0, others = 0;
        for (const QStringList &row : table.rows) {
            const QString v = field(row, c);
            if (v.isEmpty() || row.size() != table.header.size())
                continue;
            if (indicatorSign(v) != 0 && v != u"-" && v != u"+")
                ++signs;
            else
                ++others;
        }
        if (signs > 0 && others == 0) {
            m.indicator = c;
            break;
        }
    }
    return m;
}

QString bankFamily(const QStringList &header)
{
    QStringList names;
    for (const QString &h : header)
        names << normalized(h);
    auto has = [&](const char *n) { return names.contains(QLatin1String(n)); };
    if (has("auftragskonto") && has("beguenstigterzahlungspflichtiger"))
        return QStringLiteral("Sparkasse");
    if (has("namezahlungsbeteiligter") || (has("auftraggeberzahlungsempfaenger") && has("empfaengerzahlungspflichtiger")))
        return QStringLiteral("Volksbank/Raiffeisenbank");
    if (has("zahlungspflichtige") && has("zahlungsempfaenger"))
        return QStringLiteral("DKB");
    if (has("auftraggeberbeguenstigter") && has("kontonummer"))
        return QStringLiteral("DKB");
    if (has("buchungsdetails") && has("auftraggeber") && has("empfaenger"))
        return QStringLiteral("Postbank");
    if (has("auftraggeberempfaenger") && has("buchung"))
        return QStringLiteral("ING");
    if (has("beguenstigterauftraggeber") && has("soll"))
        return QStringLiteral("Deutsche Bank/Postbank");
    if (has("umsatzart") && has("buchungstext") && has("ibankontoinhaber"))
        return QStringLiteral("Commerzbank");
    if (has("vorgang") && has("buchungstext") && has("umsatzineur"))
        return QStringLiteral("comdirect");
    if (has("payee") && has("paymentreference"))
        return QStringLiteral("N26");
    return QStringLiteral("Eigenes Format");
}

QString bankName(const Table &table)
{
    // What the file says of itself: a bank named in the lines above the table or in a
    // column of the bank's name.
    static const QList<QPair<QRegularExpression, QString>> banks = {
        {QRegularExpression(QStringLiteral(R"(\bsparkasse\b)"), QRegularExpression::CaseInsensitiveOption), QStringLiteral("Sparkasse")},
        {QRegularExpression(QStringLiteral(R"(\b(volksbank|raiffeisenbank|vr-bank|vr bank)\b)"), QRegularExpression::CaseInsensitiveOption),
         QStringLiteral("Volksbank/Raiffeisenbank")},
        {QRegularExpression(QStringLiteral(R"(\bGLS\b)")), QStringLiteral("GLS Bank")},
        {QRegularExpression(QStringLiteral(R"(^bank ing\b|\bING-DiBa\b|\bING\b)")), QStringLiteral("ING")},
        {QRegularExpression(QStringLiteral(R"(\bpostbank\b)"), QRegularExpression::CaseInsensitiveOption), QStringLiteral("Postbank")},
        {QRegularExpression(QStringLiteral(R"(\bcomdirect\b)"), QRegularExpression::CaseInsensitiveOption), QStringLiteral("comdirect")},
        {QRegularExpression(QStringLiteral(R"(\bcommerzbank\b)"), QRegularExpression::CaseInsensitiveOption), QStringLiteral("Commerzbank")},
        {QRegularExpression(QStringLiteral(R"(\bDKB\b|\bDeutsche Kreditbank\b)")), QStringLiteral("DKB")},
    };
    QStringList said = table.preamble;
    const int bankColumn = static_cast<int>(table.header.indexOf(QRegularExpression(
        QStringLiteral("^Bankname.*"), QRegularExpression::CaseInsensitiveOption)));
    if (bankColumn >= 0 && !table.rows.isEmpty())
        said << field(table.rows.first(), bankColumn);
    for (const QString &line : std::as_const(said))
        for (const auto &[pattern, bank] : banks)
            if (pattern.match(line).hasMatch())
                return bank;
    return bankFamily(table.header);
}

} // namespace CsvStatement
