#include "hhbook/import/CamtReader.h"

#include <QStringList>
#include <QXmlStreamReader>

namespace CamtReader {

namespace {

const QString NotCamt = QStringLiteral("Die Datei ist kein Kontoauszug im Format CAMT.053.");

struct Transaction
{
    QString amount, sign, endToEnd, bankRef, creditor, debtor, ultimateCreditor, ultimateDebtor, info;
    QStringList remittance;
};

struct Entry
{
    QString amount, currency, sign, status, bookingDate, valueDate, bankRef, info;
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

void finish(const Entry &e, qint64 line, QVector<StatementEntry> &out)
{
    if (e.status == QLatin1String("PDNG") || e.status == QLatin1String("INFO"))
        return;   // not booked yet: it comes again, booked, in a later statement
    if (e.currency.compare(QLatin1String("EUR"), Qt::CaseInsensitive) != 0)
        throw ImportError(QStringLiteral("Zeile %1: Der Kontoauszug ist nicht in Euro geführt (%2).")
                              .arg(line)
                              .arg(e.currency.isEmpty() ? QStringLiteral("ohne Währung") : e.currency));
    StatementEntry base;
    base.bookingDate = readDate(e.bookingDate, line);
    base.valueDate = e.valueDate.isEmpty() ? base.bookingDate : readDate(e.valueDate, line);
    const Money total = signedAmount(e.amount, e.sign, line);

    // A batch booked as one entry is split when every part names its own amount.
    bool split = e.transactions.size() > 1;
    for (const Transaction &t : e.transactions)
        split = split && !t.amount.isEmpty();

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
        out.append(s);
        return;
    }
    for (int i = 0; i < e.transactions.size(); ++i) {
        const Transaction &t = e.transactions.at(i);
        StatementEntry s = base;
        s.amount = signedAmount(t.amount, t.sign.isEmpty() ? e.sign : t.sign, line);
        describe(s, t, s.amount < Money());
        if (s.text.isEmpty())
            s.text = collapse(e.info);
        s.reference = Statement::cleanReference(t.bankRef);
        if (s.reference.isEmpty() && !Statement::cleanReference(e.bankRef).isEmpty())
            s.reference = Statement::cleanReference(e.bankRef) + QStringLiteral("/%1").arg(i + 1);
        if (s.reference.isEmpty())
            s.reference = Statement::cleanReference(t.endToEnd);
        out.append(s);
    }
}

} // namespace

QVector<StatementEntry> read(const QByteArray &content)
{
    QXmlStreamReader xml(content);
    int depth = 0;
    QVector<StatementEntry> out;
    Entry entry;
    Transaction tx;
    bool inEntry = false, inTx = false, sawStatement = false, sawRoot = false;
    qint64 entryLine = 0;

    QString joined;   // the path, kept joined: every element is matched against it
    auto at = [&](const char *suffix) { return joined.endsWith(QLatin1String(suffix)); };

    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (!sawRoot) {
                sawRoot = true;
                if (name != QLatin1String("Document"))
                    throw ImportError(NotCamt);
            }
            ++depth;
            joined += u'/';
            joined += name;
            if (depth == 2 && name != QLatin1String("BkToCstmrStmt"))
                throw ImportError(NotCamt);
            if (name == QLatin1String("Stmt") && depth == 3) {
                sawStatement = true;
            } else if (name == QLatin1String("Ntry") && at("Stmt/Ntry")) {
                entry = Entry{};
                inEntry = true;
                entryLine = xml.lineNumber();
            } else if (name == QLatin1String("TxDtls") && inEntry) {
                tx = Transaction{};
                inTx = true;
            } else if (inTx) {
                if (at("TxDtls/Amt") || at("TxDtls/AmtDtls/TxAmt/Amt"))
                    tx.amount = xml.readElementText().trimmed();
                else if (at("TxDtls/CdtDbtInd"))
                    tx.sign = xml.readElementText().trimmed();
                else if (at("TxDtls/Refs/EndToEndId"))
                    tx.endToEnd = xml.readElementText();
                else if (at("TxDtls/Refs/AcctSvcrRef"))
                    tx.bankRef = xml.readElementText();
                else if (at("RltdPties/Cdtr/Nm") || at("RltdPties/Cdtr/Pty/Nm"))
                    tx.creditor = xml.readElementText();
                else if (at("RltdPties/Dbtr/Nm") || at("RltdPties/Dbtr/Pty/Nm"))
                    tx.debtor = xml.readElementText();
                else if (at("RltdPties/UltmtCdtr/Nm") || at("RltdPties/UltmtCdtr/Pty/Nm"))
                    tx.ultimateCreditor = xml.readElementText();
                else if (at("RltdPties/UltmtDbtr/Nm") || at("RltdPties/UltmtDbtr/Pty/Nm"))
                    tx.ultimateDebtor = xml.readElementText();
                else if (at("TxDtls/RmtInf/Ustrd"))
                    tx.remittance.append(xml.readElementText());
                else if (at("TxDtls/AddtlTxInf"))
                    tx.info = xml.readElementText();
            } else if (inEntry) {
                if (at("Ntry/Amt")) {
                    entry.currency = xml.attributes().value(QLatin1String("Ccy")).toString();
                    entry.amount = xml.readElementText().trimmed();
                } else if (at("Ntry/CdtDbtInd")) {
                    entry.sign = xml.readElementText().trimmed();
                } else if (at("Ntry/Sts") || at("Ntry/Sts/Cd")) {
                    // older versions write the code as text, newer ones in a child element
                    if (at("Ntry/Sts/Cd"))
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
            const QStringView name = xml.name();
            if (name == QLatin1String("TxDtls") && inTx) {
                entry.transactions.append(tx);
                inTx = false;
            } else if (name == QLatin1String("Ntry") && inEntry && at("Stmt/Ntry")) {
                inEntry = false;
                finish(entry, entryLine, out);
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
        throw ImportError(NotCamt);
    return out;
}

} // namespace CamtReader
