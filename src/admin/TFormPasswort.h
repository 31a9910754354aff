#pragma once

#include <QDialog>

class DataModules;
class QComboBox;
class QLineEdit;
class QPushButton;

// The login at start. Accepted after a successful login; rejected by "Abbrechen" or Escape,
// after which the caller ends the program.
class TFormPasswort : public QDialog
{
    Q_OBJECT
public:
    // The built-in maintenance login for when no suitable user record exists. Both are
    // compared with the typed text lower-cased.
    static const QString MaintenanceName;
    static const QString MaintenancePassword;

    explicit TFormPasswort(DataModules &dm, QWidget *parent = nullptr);

    // The logged-in user, valid after acceptance. The short name is lower-cased; name and
    // telephone are empty for the maintenance login without a user record.
    QString aktSbKurz() const { return m_aktSbKurz; }
    QString aktSbLang() const { return m_aktSbLang; }
    QString aktSbTelefon() const { return m_aktSbTelefon; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillUserList();
    void login();
    bool tryLogin();
    void upgradeStoredPassword(const QString &password);
    void showHelp();

    DataModules &m_dm;
    QComboBox *m_cbUser;
    QLineEdit *m_ePasswort;
    QPushButton *m_btnAnmelden;
    bool m_busy = false;
    bool m_loggedIn = false;
    QString m_aktSbKurz;
    QString m_aktSbLang;
    QString m_aktSbTelefon;
};
