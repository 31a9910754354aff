#pragma once

#include "core/Money.h"
#include "settlement/rules/PKontoAllowance.h"
#include "settlement/rules/SettlementSplit.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class Database;

// What the settlement printouts show, read from the file at the moment of printing. Line
// breaks are single carriage returns, which the report engine turns into paragraphs.
namespace SettlementPrintValues {

using Values = QList<QPair<QString, QString>>;

struct Contact
{
    int id = 0;
    QString name1, name2, name3, suna, land, plz, ort, strasse, hausnr, pofach, poplz, salutation;
    bool postBox = false;
    QDate birthday;

    bool isWoman() const { return salutation == QStringLiteral("Frau"); }

    QString nameBlock() const;     // the name lines that are filled
    QString addressBlock() const;  // street or post box, then town
    QString oneLine() const;       // "Anna Müller, Hauptstr. 1, 28195 Bremen"
};
Contact contact(const Database &db, int adrId);

struct Line
{
    int claimId = 0;
    Contact creditor;
    QString reference, answer;
    QDate answerDate;
    Money claim, monthly, total;
    double share = 0, quota = 0;
    int letterId = 0;
};

struct Plan
{
    int id = 0;
    Contact client;
    QString kind;
    QDate date, failedOn;
    int months = 0;
    Money rate;
    QVector<Line> lines;
    Money claims, monthlySum, totalSum;
    // The payments month by month, from the claims as offered.
    SettlementSplit::Result course;

    double quota() const;
    bool capped() const { return course.capped; }
};
// Throws UserWarning when the plan is gone or has no lines yet.
Plan plan(const Database &db, int planId);

// The office and the adviser, shared by every printout.
struct Office
{
    QString name1, name2, strasse, plz, ort, telefon, telefax, email, suna;
    QString adviser, adviserPhone;
    struct Bank { QString name, iban, bic; };
    QList<Bank> banks;       // those marked to be printed
    QString senderLine() const;
    QString block() const;   // the address lines below the name
    QString bankLine() const; // "Bankverbindung: Sparkasse * IBAN DE12 … * BIC …"
};
Office office(const Database &db, const QString &adviser, const QString &adviserPhone);

// The words a printout uses for the client: "Der Schuldner" or "Die Schuldnerin" and so on.
Values debtorWords(const Contact &client);
// The months in which the split changes because creditors are paid in full; empty when
// it never does.
QString courseText(const Plan &p);

// One sentence saying what the plan offers.
QString planDescription(const Plan &p);
// The variables of the plan and the failure certificate.
Values planValues(const Plan &p, const Office &o, const QDate &printed);

// The subject and text of the letter to one creditor.
QString letterSubject(const Plan &p);
QString letterText(const Plan &p, const Line &line, const QDate &answerBy);

// The variables of the account certificate.
struct PKontoInput
{
    int persons = 0;
    Money childBenefit, otherPayments, oneOff;
    QString otherText, oneOffText, holder, bank, iban;
    QDate validFrom, validTo, issued;
};
Values pkontoValues(const Contact &client, const PKontoInput &in, const PKontoAllowance::Base &base,
                    const PKontoAllowance::Amounts &a, const Office &o);

} // namespace SettlementPrintValues
