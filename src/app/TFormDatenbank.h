#pragma once

#include "data/DatabaseConfig.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

// "Datenbank": which database this installation works with, written to Finorra.ini. The
// server fields are only open for PostgreSQL. Takes effect at the next start.
class TFormDatenbank : public QDialog
{
    Q_OBJECT
public:
    TFormDatenbank(const DatabaseConfig::Choice &choice, QWidget *parent = nullptr);

    DatabaseConfig::Choice choice() const;

private:
    void typeChanged();

    QComboBox *m_type;
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_database;
    QLineEdit *m_user;
};
