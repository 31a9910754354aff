#pragma once

#include <QObject>

class DataModules;
class DataSet;

// The queries of the debt counselling: claims, plans with their lines, and account
// certificates of the contact current in qrKontakte. Made once per set of data modules,
// with the rules hung on their handlers, so every window edits them through the same rules.
class SettlementData : public QObject
{
    Q_OBJECT
public:
    // The one instance of these data modules, made on first use.
    static SettlementData &of(DataModules &dm);

    DataModules &dm;
    DataSet *qrForderungen;   // claims of the current contact
    DataSet *qrSbPlan;        // its settlement plans
    DataSet *qrSbPosten;      // the lines of the current plan
    DataSet *qrPKonto;        // its account certificates

    // The claims and plans follow the contact shown. A file without the increases of the
    // account allowance gets those in force.
    void openAll();

private:
    explicit SettlementData(DataModules &dm);
    void installRules();
};
