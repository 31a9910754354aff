#include "letters/rules/LetterPrintValues.h"

#include "core/GermanFormat.h"
#include "core/Iban.h"
#include "core/LineBreaks.h"
#include "core/PostalAddress.h"
#include "data/DataSet.h"

#include <QStringList>

namespace LetterPrintValues {

namespace {

const QChar Cr = QLatin1Char('\r');

Recipient recipientOf(const DataSet &r)
{
    if (!r.isOpen() || r.isEmpty())
        return {};
    auto t = [&r](const char *f) { return r.asString(QLatin1String(f)); };
    Recipient x{t("name1"), t("name2"), t("name3"), t("land"), t("plz"), t("ort"), t("strasse"), t("hausnr"),
                t("pofach"), t("poplz"), false};
    x.postBox = r.value(QStringLiteral("poverwenden")).toBool();
    return x;
}

struct Bank
{
    QString name, account, code, iban, bic;
};

// The banks in use fill the slots in their order: bank 2 alone takes slot 1.
QList<Bank> banksInUse(const DataSet &firma)
{
    QList<Bank> banks;
    auto t = [&firma](const char *f) { return firma.asString(QLatin1String(f)); };
    if (firma.value(QStringLiteral("Bank1Verwenden")).toBool())
        banks.append({t("Bank1Name1"), t("Bank1Ktonr"), t("Bank1BLZ"), t("Bank1Iban").trimmed(), t("Bank1Bic").trimmed()});
    if (firma.value(QStringLiteral("Bank2Verwenden")).toBool())
        banks.append({t("Bank2Name1"), t("Bank2Ktonr"), t("Bank2Blz"), t("Bank2Iban").trimmed(), t("Bank2Bic").trimmed()});
    return banks;
}

} // namespace

const QStringList &variableNames()
{
    static const QStringList names = {
        QStringLiteral("ekFirma_name1"), QStringLiteral("ekFirma_name2"), QStringLiteral("ekFirma_strasse"),
        QStringLiteral("ekFirma_plz"), QStringLiteral("ekFirma_ort"), QStringLiteral("ekFirma_telefon"),
        QStringLiteral("ekFirma_telefax"), QStringLiteral("ekFirma_email"), QStringLiteral("ekFirma_internet"),
        QStringLiteral("ekEmpname"), QStringLiteral("ekempanschrift"), QStringLiteral("ekIhr_Zeichen"),
        QStringLiteral("ekUnser_Zeichen"), QStringLiteral("ekberater"), QStringLiteral("ekdatum"),
        QStringLiteral("ekbetreff"), QStringLiteral("ekbrieftext"), QStringLiteral("ekfirma_absender"),
        QStringLiteral("ekbank1"), QStringLiteral("ekbank2"), QStringLiteral("ekkonto1"),
        QStringLiteral("ekkonto2"), QStringLiteral("ekblz1"), QStringLiteral("ekblz2")};
    return names;
}

QString nameBlock(const Recipient &r, const QString &contactPerson)
{
    QString block;
    if (!r.name3.isEmpty())
        block = r.name1 + Cr + r.name2 + Cr + r.name3;
    else if (!r.name2.isEmpty())
        block = r.name1 + Cr + r.name2;
    else if (!r.name1.isEmpty())
        block = r.name1;
    else
        return QString();
    if (!contactPerson.isEmpty())
        block += Cr + contactPerson;
    return block;
}

QString addressBlock(const Recipient &r)
{
    // No empty line before the town and no "D " before a German postcode: with three name
    // lines and a contact person the address still fits the window of the envelope.
    const QString first = r.postBox ? QStringLiteral("Postfach ") + r.pofach : r.strasse + QLatin1Char(' ') + r.hausnr;
    return PostalAddress::lines(first, r.postBox ? r.poplz : r.plz, r.ort, r.land).join(Cr);
}

QString senderLine(const DataSet &firma)
{
    auto t = [&firma](const char *f) { return firma.asString(QLatin1String(f)); };
    return t("Name1") + QStringLiteral(" * ") + t("Strasse") + QStringLiteral(" * ") + t("Plz") + QLatin1Char(' ')
           + t("Ort");
}

Values values(const DataSet &letter, const DataSet &recipient, const DataSet &firma, Form form)
{
    auto f = [&firma](const char *field) { return firma.asString(QLatin1String(field)); };
    auto l = [&letter](const char *field) { return letter.asString(QLatin1String(field)); };
    const Recipient r = recipientOf(recipient);

    Values v;
    for (const QString &name : variableNames())
        v.append({name, QString()});
    auto set = [&v](const QString &name, const QString &value) {
        for (auto &p : v)
            if (p.first == name)
                p.second = value;
    };
    set(QStringLiteral("ekFirma_name1"), f("Name1"));
    set(QStringLiteral("ekFirma_name2"), f("Name2"));
    set(QStringLiteral("ekFirma_strasse"), f("Strasse"));
    set(QStringLiteral("ekFirma_plz"), f("Plz"));
    set(QStringLiteral("ekFirma_ort"), f("Ort"));
    set(QStringLiteral("ekFirma_telefon"), f("Telefon"));
    set(QStringLiteral("ekFirma_telefax"), f("Telefax"));
    set(QStringLiteral("ekFirma_email"), f("Email"));
    set(QStringLiteral("ekFirma_internet"), f("Internet"));
    set(QStringLiteral("ekfirma_absender"), senderLine(firma));
    set(QStringLiteral("ekEmpname"), nameBlock(r, l("Emp_Anpa")));
    set(QStringLiteral("ekempanschrift"), addressBlock(r));
    set(QStringLiteral("ekIhr_Zeichen"), l("IhrZeichen"));
    set(QStringLiteral("ekUnser_Zeichen"), l("UnserZeichen"));
    set(QStringLiteral("ekberater"), l("SB") + Cr + l("SBTelefon"));
    set(QStringLiteral("ekdatum"), GermanFormat::shortDate(letter.asDate(QStringLiteral("Erfdat"))));
    set(QStringLiteral("ekbetreff"), LineBreaks::forPrintout(l("Betreff")));
    set(QStringLiteral("ekbrieftext"), LineBreaks::forPrintout(l("Text")));

    const QList<Bank> banks = banksInUse(firma);
    for (int slot = 1; slot <= banks.size(); ++slot) {
        const Bank &b = banks.at(slot - 1);
        const QString k = QString::number(slot);
        // IBAN and BIC since SEPA; account number and bank code only from a file that has
        // no IBAN yet.
        if (!b.iban.isEmpty()) {
            const QString iban = QStringLiteral("IBAN ") + Iban::grouped(b.iban);
            const QString bic = b.bic.isEmpty() ? QString() : QStringLiteral("BIC ") + b.bic;
            if (form == Form::Standard) {
                set(QStringLiteral("ekbank") + k, b.name + QStringLiteral(" * ") + iban
                                                      + (bic.isEmpty() ? QString() : QStringLiteral(" * ") + bic));
            } else {
                set(QStringLiteral("ekbank") + k, b.name);
                set(QStringLiteral("ekkonto") + k, iban);
                set(QStringLiteral("ekblz") + k, bic);
            }
        } else if (form == Form::Standard) {
            set(QStringLiteral("ekbank") + k,
                b.name + QStringLiteral(" * Konto ") + b.account + QStringLiteral(" * BLZ ") + b.code);
        } else {
            set(QStringLiteral("ekbank") + k, b.name);
            set(QStringLiteral("ekkonto") + k, QStringLiteral("Konto ") + b.account);
            set(QStringLiteral("ekblz") + k, QStringLiteral("Bankleitzahl ") + b.code);
        }
    }
    return v;
}

} // namespace LetterPrintValues
