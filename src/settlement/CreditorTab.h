#pragma once

#include <QWidget>

class DataModules;
class QCheckBox;
class QComboBox;
class QLabel;

// The "Gläubiger" tab of the Kontakte page: whether the contact is a client of the
// counselling, the claims of its creditors with their sum, and the way to the settlement
// plans and the account certificate.
class CreditorTab : public QWidget
{
    Q_OBJECT
public:
    explicit CreditorTab(DataModules &dm, QWidget *parent = nullptr);

private:
    void showContact();
    void setClient(bool client);
    void setSalutation(const QString &salutation);
    void chooseCreditor();
    void openPlans();
    void openPKonto();
    void updateSum();

    DataModules &m_dm;
    QCheckBox *m_client;
    QComboBox *m_salutation;
    QLabel *m_sum;
    QWidget *m_claims;
};
