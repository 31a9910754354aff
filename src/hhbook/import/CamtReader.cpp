#include "hhbook/import/CamtReader.h"

#include "core/GermanFormat.h"

#include <QStringList>
#include <QXmlStreamReader>

namespace CamtReader {

namespace {

struct Amount
{
    QString value, currency;
};

struct Transaction
{
    QString amount, currency, sign, endToEnd, bankRef, creditor, debtor, ultimateCreditor, ultimateDebtor, info;
    QStringList remittance;
    QVector<Amount> details;   // AmtDtls of the transaction
};

struct Entry
{
    QString amount, currency, sign, status, bookingDate, valueDate, bankRef, info;
    QVector<Amount> details;   // AmtDtls of the entry
    QVector<Transaction> transactions;
};

QString collapse(const QString &s)
{
    return s.simplified();
}

// camt amounts are unsigned with a decimal point ("1234.5"); the sign comes from CdtDbtInd.
Money readAmount(const QString &text, qint64 line)
{
    qint64 whole = 0, fraction = 0;
    int wholeDigits = 0, fractionDigits = 0;
    bool point = false, ok = !text.isEmpty();
    for (QChar c : text) {
        if (c == u'.' && !point) {
            point = true;
        } else if (c.isDigit() && !point && wholeDigits < 14) {
            whole = whole * 10 + c.digitValue();
            ++wholeDigits;
        } else if (c.isDigit() && point && fractionDigits < 4) {
            fraction = fraction * 10 + c.digitValue();
            ++fractionDigits;
        } else {
            ok = false;
            break;
        }
    }
    if (!ok || wholeDigits == 0 || (point && fractionDigits == 0))
        throw ImportError(QStringLiteral("Zeile %1: '%2' ist kein gültiger Betrag.").arg(line).arg(text));
    for (int i = fractionDigits; i < 4; ++i)
        fraction *= 10;
    return Money::fromRaw(whole * Money::Scale + fraction);
}

QDate readDate(const QString &text, qint64 line)
{
    const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
    if (!d.isValid())
        throw ImportError(QStringLiteral("Zeile %1: '%2' ist kein gültiges Datum.").arg(line).arg(text));
    return d;
}

Money signedAmount(const QString &amount, const QString &sign, qint64 line)
{
    const Money m = readAmount(amount, line);
    if (sign == QLatin1String("DBIT"))
        return -m;
    if (sign == QLatin1String("CRDT"))
        return m;
    throw ImportError(QStringLiteral("Zeile %1: Die Buchung ist weder als Gutschrift noch als Lastschrift gekennzeichnet.")
                          .arg(line));
}

bool isEuro(const QString &currency)
{
    return currency.compare(QLatin1String("EUR"), Qt::CaseInsensitive) == 0;
}

// The euro amount a bank reports beside a booking in another currency (the instructed,
// transaction or counter-value amount), else the first amount in a currency other than the
// entry's for a payment abroad booked in euro.
void currencyDetails(StatementEntry &s, const QVector<Amount> &amounts, const QString &sign, qint64 line)
{
    for (const Amount &a : amounts) {
        if (!s.inEuro() && isEuro(a.currency) && !s.euroKnown) {
            s.euro = signedAmount(a.value, sign, line);
            s.euroKnown = true;
        } else if (s.inEuro() && !a.currency.isEmpty() && !isEuro(a.currency) && s.foreign.isEmpty()) {
            s.foreign = GermanFormat::number(readAmount(a.value, line).toDouble(), 2) + u' ' + a.currency;
        }
    }
}

void finish(const Entry &e, const QString &accountCurrency, qint64 line, StatementAccount &account)
{
    // Only booked entries: pending ("PDNG") and information ("INFO") come again, booked, in a
    // later statement. Old versions that write no status book everything they list.
    if (!e.status.isEmpty() && e.status != QLatin1String("BOOK")) {
        ++account.leftOut.pending;
        return;
    }
    StatementEntry base;
    base.bookingDate = readDate(e.bookingDate.isEmpty() ? e.valueDate : e.bookingDate, line);
    base.valueDate = e.valueDate.isEmpty() ? base.bookingDate : readDate(e.valueDate, line);
    base.currency = (e.currency.isEmpty() ? accountCurrency : e.currency).toUpper();
    if (isEuro(base.currency))
        base.currency.clear();
    const Money total = signedAmount(e.amount, e.sign, line);

    // A batch booked as one entry is split when every part names its own amount in the
    // entry's currency.
    bool split = e.transactions.size() > 1;
    for (const Transaction &t : e.transactions)
        split = split && !t.amount.isEmpty()
                && (t.currency.isEmpty() || t.currency.compare(e.currency, Qt::CaseInsensitive) == 0);

    auto describe = [&](StatementEntry &s, const Transaction &t, bool debit) {
        s.counterparty = collapse(debit ? (t.creditor.isEmpty() ? t.ultimateCreditor : t.creditor)
                                        : (t.debtor.isEmpty() ? t.ultimateDebtor : t.debtor));
        s.text = collapse(t.remittance.join(u' '));
        if (s.text.isEmpty())
            s.text = collapse(t.info);
    };

    if (!split) {
        StatementEntry s = base;
        s.amount = total;
        const Transaction t = e.transactions.isEmpty() ? Transaction{} : e.transactions.first();
        describe(s, t, total < Money());
        if (s.text.isEmpty())
            s.text = collapse(e.info);
        s.reference = Statement::cleanReference(e.bankRef);
        if (s.reference.isEmpty())
            s.reference = Statement::cleanReference(t.bankRef);
        if (s.reference.isEmpty())
            s.reference = Statement::cleanReference(t.endToEnd);
        QVector<Amount> amounts = e.details + t.details;
        if (e.transactions.size() == 1 && !t.amount.isEmpty())
            amounts.append({t.amount, t.currency});
        currencyDetails(s, amounts, e.sign, line);
        account.entries.append(s);
        return;
    }
    for (int i = 0; i < e.transactions.size(); ++i) {
        const Transaction &t = e.transactions.at(i);
        StatementEntry s = base;
        const QString sign = t.sign.isEmpty() ? e.sign : t.sign;
        s.amount = signedAmount(t.amount, sign, line);
        describe(s, t, s.amount < Money());
        if (s.text.isEmpty())
            s.text = collapse(e.info);
        s.reference = Statement::cleanReference(t.bankRef);
        if (s.reference.isEmpty() && !Statement::cleanReference(e.bankRef).isEmpty())
            s.reference = Statement::cleanReference(e.bankRef) + QStringLiteral("/%1").arg(i + 1);
        if (s.reference.isEmpty())
            s.reference = Statement::cleanReference(t.endToEnd);
        currencyDetails(s, t.details, sign, line);
        account.entries.append(s);
    }
}

// Statements of one account (a file of daily statements) are one account for the import.
void add(QVector<StatementAccount> &accounts, StatementAccount &&account)
{
    for (StatementAccount &a : accounts)
        if (a.id == account.id && a.currency == account.currency) {
            a.entries += account.entries;
            a.leftOut += account.leftOut;
            if (a.owner.isEmpty())
                a.owner = account.owner;
            return;
        }
    accounts.append(std::move(account));
}

} // namespace

QString messageType(const QByteArray &content)
{
    const QByteArray head = content.left(4096);
    if (head.contains("BkToCstmrAcctRpt") || head.contains("camt.052"))
        return QStringLiteral("camt.052");
    if (head.contains("BkToCstmrStmt") || head.contains("camt.053"))
        return QStringLiteral("camt.053");
    return {};
}

QVector<StatementAccount> read(const QByteArray &content, const QString &name)
{
    QXmlStreamReader xml(content);
    int depth = 0;
    QVector<StatementAccount> accounts;
    StatementAccount account;
    QString accountCurrency;
    Entry entry;
    Transaction tx;
    bool inEntry = false, inTx = false, inStatement = false, sawStatement = false, sawRoot = false;
    qint64 entryLine = 0;
    const QString notCamt = QStringLiteral("Die Datei %1ist kein Kontoauszug im Format CAMT.052 oder CAMT.053.")
                                .arg(name.isEmpty() ? QString() : name + u' ');

    QString joined;   // the path, kept joined: every element is matched against it
    auto at = [&](const char *suffix) { return joined.endsWith(QLatin1String(suffix)); };
    // Amt elements below AmtDtls: the instructed, transaction and counter-value amounts
    auto detailAmount = [&](const char *owner) {
        return joined.contains(QLatin1String(owner)) && joined.contains(QLatin1String("/AmtDtls/")) && at("/Amt");
    };

    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::DTD)
            throw ImportError(QStringLiteral("Die Datei %1enthält eine Dokumenttyp-Definition (DTD) und wird nicht gelesen.")
                                  .arg(name.isEmpty() ? QString() : name + u' '));
        if (token == QXmlStreamReader::StartElement) {
            const QStringView element = xml.name();
            if (!sawRoot) {
                sawRoot = true;
                if (element != QLatin1String("Document"))
                    throw ImportError(Statement::notAStatement(
                        name, QStringLiteral("eine XML-Datei ohne Kontoauszug (<%1>)").arg(element.toString())));
            }
            ++depth;
            joined += u'/';
            joined += element;
            if (depth == 2 && element != QLatin1String("BkToCstmrStmt") && element != QLatin1String("BkToCstmrAcctRpt"))
                throw ImportError(Statement::notAStatement(
                    name, QStringLiteral("eine XML-Datei ohne Kontoauszug (<%1>)").arg(element.toString())));
            if ((element == QLatin1String("Stmt") || element == QLatin1String("Rpt")) && depth == 3) {
                sawStatement = inStatement = true;
                account = StatementAccount{};
                accountCurrency.clear();
            } else if (inStatement && !inEntry && depth == 4 && element == QLatin1String("Ntry")) {
                entry = Entry{};
                inEntry = true;
                entryLine = xml.lineNumber();
            } else if (inStatement && !inEntry) {
                if (at("/Acct/Id/IBAN") || at("/Acct/Id/Othr/Id"))
                    account.id = xml.readElementText().trimmed();
                else if (at("/Acct/Ccy"))
                    accountCurrency = xml.readElementText().trimmed().toUpper();
                else if (at("/Acct/Ownr/Nm"))
                    account.owner = collapse(xml.readElementText());
            } else if (element == QLatin1String("TxDtls") && inEntry) {
                tx = Transaction{};
                inTx = true;
            } else if (inTx) {
                if (detailAmount("TxDtls")) {
                    const QString ccy = xml.attributes().value(QLatin1String("Ccy")).toString();
                    const QString value = xml.readElementText().trimmed();
                    if (at("TxDtls/AmtDtls/TxAmt/Amt") && tx.amount.isEmpty()) {
                        tx.amount = value;
                        tx.currency = ccy;
                    }
                    tx.details.append({value, ccy});
                } else if (at("TxDtls/Amt")) {
                    tx.currency = xml.attributes().value(QLatin1String("Ccy")).toString();
                    tx.amount = xml.readElementText().trimmed();
                } else if (at("TxDtls/CdtDbtInd")) {
                    tx.sign = xml.readElementText().trimmed();
                } else if (at("TxDtls/Refs/EndToEndId")) {
                    tx.endToEnd = xml.readElementText();
                } else if (at("TxDtls/Refs/AcctSvcrRef")) {
                    tx.bankRef = xml.readElementText();
                } else if (at("RltdPties/Cdtr/Nm") || at("RltdPties/Cdtr/Pty/Nm")) {
                    tx.creditor = xml.readElementText();
                } else if (at("RltdPties/Dbtr/Nm") || at("RltdPties/Dbtr/Pty/Nm")) {
                    tx.debtor = xml.readElementText();
                } else if (at("RltdPties/UltmtCdtr/Nm") || at("RltdPties/UltmtCdtr/Pty/Nm")) {
                    tx.ultimateCreditor = xml.readElementText();
                } else if (at("RltdPties/UltmtDbtr/Nm") || at("RltdPties/UltmtDbtr/Pty/Nm")) {
                    tx.ultimateDebtor = xml.readElementText();
                } else if (at("TxDtls/RmtInf/Ustrd")) {
                    tx.remittance.append(xml.readElementText());
                } else if (at("TxDtls/AddtlTxInf")) {
                    tx.info = xml.readElementText();
                }
            } else if (inEntry) {
                if (at("Ntry/Amt")) {
                    entry.currency = xml.attributes().value(QLatin1String("Ccy")).toString();
                    entry.amount = xml.readElementText().trimmed();
                } else if (detailAmount("/Ntry/")) {
                    const QString ccy = xml.attributes().value(QLatin1String("Ccy")).toString();
                    entry.details.append({xml.readElementText().trimmed(), ccy});
                } else if (at("Ntry/CdtDbtInd")) {
                    entry.sign = xml.readElementText().trimmed();
                } else if (at("Ntry/Sts/Cd")) {
                    // older versions write the code as text, newer ones in a child element
                    entry.status = xml.readElementText().trimmed();
                } else if (at("Ntry/BookgDt/Dt") || at("Ntry/BookgDt/DtTm")) {
                    entry.bookingDate = xml.readElementText().trimmed();
                } else if (at("Ntry/ValDt/Dt") || at("Ntry/ValDt/DtTm")) {
                    entry.valueDate = xml.readElementText().trimmed();
                } else if (at("Ntry/AcctSvcrRef")) {
                    entry.bankRef = xml.readElementText();
                } else if (at("Ntry/AddtlNtryInf")) {
                    entry.info = xml.readElementText();
                }
            }
            // readElementText() has consumed the end of the element
            if (xml.tokenType() == QXmlStreamReader::EndElement) {
                --depth;
                joined.truncate(joined.lastIndexOf(u'/'));
            }
        } else if (token == QXmlStreamReader::Characters) {
            if (inEntry && !inTx && !xml.isWhitespace() && at("Ntry/Sts"))
                entry.status = xml.text().trimmed().toString();
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView element = xml.name();
            if (element == QLatin1String("TxDtls") && inTx) {
                entry.transactions.append(tx);
                inTx = false;
            } else if (element == QLatin1String("Ntry") && inEntry && depth == 4) {
                inEntry = false;
                if (account.currency.isEmpty())
                    account.currency = accountCurrency;
                finish(entry, accountCurrency, entryLine, account);
            } else if ((element == QLatin1String("Stmt") || element == QLatin1String("Rpt")) && depth == 3) {
                inStatement = false;
                // the account's currency, else that of its entries
                if (accountCurrency.isEmpty() && !account.entries.isEmpty())
                    account.currency = account.entries.first().inEuro() ? QStringLiteral("EUR")
                                                                        : account.entries.first().currency;
                else
                    account.currency = accountCurrency;
                add(accounts, std::move(account));
            }
            if (depth > 0) {
                --depth;
                joined.truncate(joined.lastIndexOf(u'/'));
            }
        }
    }
    if (xml.hasError())
        throw ImportError(QStringLiteral("Die Datei ist beschädigt oder unvollständig (Zeile %1).").arg(xml.lineNumber()));
    if (!sawStatement)
        throw ImportError(notCamt);
    return accounts;
}

} // namespace CamtReader
