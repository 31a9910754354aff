#include "app/TFormDatenbank.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFormDatenbank::TFormDatenbank(const DatabaseConfig::Choice &choice, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDatenbank"));
    setWindowTitle(QStringLiteral("Datenbank"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cbTyp"));
    m_type->addItems({QStringLiteral("SQLite-Datei (Finorra.abs)"), QStringLiteral("PostgreSQL-Server")});
    m_type->setCurrentIndex(choice.server ? 1 : 0);
    m_host = new QLineEdit(choice.settings.host, this);
    m_host->setObjectName(QStringLiteral("edHost"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("edPort"));
    m_port->setRange(1, 65535);
    m_port->setValue(choice.settings.port);
    m_database = new QLineEdit(choice.settings.database, this);
    m_database->setObjectName(QStringLiteral("edDatenbank"));
    m_user = new QLineEdit(choice.settings.user, this);
    m_user->setObjectName(QStringLiteral("edBenutzer"));
    form->addRow(QStringLiteral("&Typ:"), m_type);
    form->addRow(QStringLiteral("&Rechner:"), m_host);
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QStringLiteral("&Datenbank:"), m_database);
    form->addRow(QStringLiteral("&Benutzer:"), m_user);
    layout->addLayout(form);
    auto *note = new QLabel(QStringLiteral("Das Kennwort wird nicht gespeichert: Es kommt aus der Datei ~/.pgpass oder "
                                           "wird beim Start abgefragt.\nDie Änderung gilt nach einem Neustart des Programms."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Abbrechen"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnAbbrechen"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_type, &QComboBox::currentIndexChanged, this, &TFormDatenbank::typeChanged);
    typeChanged();
    setMinimumWidth(460);
}

void TFormDatenbank::typeChanged()
{
    const bool server = m_type->currentIndex() == 1;
    for (QWidget *w : {static_cast<QWidget *>(m_host), static_cast<QWidget *>(m_port), static_cast<QWidget *>(m_database),
                       static_cast<QWidget *>(m_user)})
        w->setEnabled(server);
}

DatabaseConfig::Choice TFormDatenbank::choice() const
{
    DatabaseConfig::Choice c;
    c.server = m_type->currentIndex() == 1;
    c.settings.host = m_host->text().trimmed();
    c.settings.port = m_port->value();
    c.settings.database = m_database->text().trimmed();
    c.settings.user = m_user->text().trimmed();
    return c;
}
