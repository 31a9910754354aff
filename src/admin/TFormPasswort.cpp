#include "admin/TFormPasswort.h"

#include "admin/TFormPassHilfe.h"
#include "core/PasswordHash.h"
#include "data/DataModules.h"
#include "ui/Guard.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

const QString TFormPasswort::MaintenanceName = QStringLiteral("qovtar");
const QString TFormPasswort::MaintenancePassword = QStringLiteral("wf");

namespace {
const QString AllUsersEntry = QStringLiteral("<Alle>");
}

TFormPasswort::TFormPasswort(DataModules &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FormPasswort"));
    setWindowTitle(QStringLiteral("Benutzer anmelden ..."));
    // No close box: the only ways out are a login and "Abbrechen".
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_cbUser = new QComboBox(this);
    m_cbUser->setObjectName(QStringLiteral("cbUser"));
    m_cbUser->setEditable(true);
    m_cbUser->setInsertPolicy(QComboBox::NoInsert);
    m_cbUser->setMinimumWidth(200);

    m_ePasswort = new QLineEdit(this);
    m_ePasswort->setObjectName(QStringLiteral("ePasswort"));
    m_ePasswort->setEchoMode(QLineEdit::Password);
    m_ePasswort->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    auto *group = new QGroupBox(QStringLiteral("Passwort eingeben"), this);
    auto *form = new QFormLayout(group);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(10);
    form->addRow(QStringLiteral("Benutzer :"), m_cbUser);
    form->addRow(QStringLiteral("Passwort :"), m_ePasswort);

    m_btnAnmelden = new QPushButton(QStringLiteral("&Anmelden"), this);
    m_btnAnmelden->setObjectName(QStringLiteral("btnAnmelden"));
    m_btnAnmelden->setDefault(true);
    auto *btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    auto *btnHilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    btnHilfe->setObjectName(QStringLiteral("btnHilfe"));
    btnHilfe->setAutoDefault(false);
    btnAbbrechen->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnHilfe);
    buttons->addStretch(1);
    buttons->addWidget(m_btnAnmelden);
    buttons->addWidget(btnAbbrechen);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(14);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_btnAnmelden, &QPushButton::clicked, this, &TFormPasswort::login);
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHilfe, &QPushButton::clicked, this, &TFormPasswort::showHelp);
}

void TFormPasswort::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fillUserList();
    // At start the main window is not shown yet; centred on it, the login would sit
    // wherever that hidden window happens to be.
    if (QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    m_cbUser->setFocus();
}

void TFormPasswort::fillUserList()
{
    // Refilling must not throw away a name the user has already typed.
    const QString typed = m_cbUser->currentText();
    m_cbUser->clear();
    m_cbUser->addItem(AllUsersEntry);
    guarded([this] {
        DataSet *qrUser = m_dm.dmMP->qrUser;
        qrUser->reopen();
        const int index = qrUser->fieldIndex(QStringLiteral("SbKurz"));
        for (int row = 0; row < qrUser->recordCount(); ++row)
            m_cbUser->addItem(qrUser->valueAt(row, index).toString());
        qrUser->close();
    });
    m_cbUser->setCurrentIndex(-1);
    m_cbUser->setEditText(typed);
}

void TFormPasswort::login()
{
    // A double click delivers a second click after the first has already logged in, and
    // checking a password takes a noticeable moment: only the first counts.
    if (m_busy || m_loggedIn)
        return;
    m_busy = true;
    bool ok = false;
    guarded([&] { ok = tryLogin(); });
    m_busy = false;
    if (ok) {
        m_loggedIn = true;
        accept();
    }
}

bool TFormPasswort::tryLogin()
{
    const QString name = m_cbUser->currentText();
    const QString password = m_ePasswort->text();
    const bool found = m_dm.dmMP->lookupUser(name);
    const bool maintenance = name.toLower() == MaintenanceName;
    if (!found && !maintenance) {
        ShowMsg(QStringLiteral("Benutzer nicht vorhanden!"), mkError);
        m_cbUser->setFocus();
        return false;
    }
    DataSet *qrAktUser = m_dm.dmMP->qrAktUser;
    const QString stored = found ? qrAktUser->asString(QStringLiteral("Passwort")) : QString();
    const bool userMatch = found && PasswordHash::verify(password, stored);
    const bool maintenanceMatch = maintenance && password.toLower() == MaintenancePassword;
    if (!userMatch && !maintenanceMatch) {
        ShowMsg(QStringLiteral("Falsches Passwort!"), mkError);
        m_ePasswort->setFocus();
        return false;
    }
    if (userMatch && PasswordHash::needsRehash(stored))
        upgradeStoredPassword(password);
    if (!found && qrAktUser->recordCount() > 0) {
        // Several users share the maintenance name: the maintenance login stands for none of them.
        qrAktUser->close();
        qrAktUser->setParam(QStringLiteral("pvkuerzel"), QVariant());
        qrAktUser->open();
    }
    m_aktSbKurz = name.toLower();
    m_aktSbLang = found ? qrAktUser->asString(QStringLiteral("SbLang")) : QString();
    m_aktSbTelefon = found ? qrAktUser->asString(QStringLiteral("SbTelefon")) : QString();
    return true;
}

void TFormPasswort::upgradeStoredPassword(const QString &password)
{
    // A plain-text (or weakly hashed) password from an older or imported file is replaced
    // by its hash as soon as it has proved right. When that cannot be written the login
    // still stands; the next login tries again.
    DataSet *qrAktUser = m_dm.dmMP->qrAktUser;
    try {
        qrAktUser->edit();
        qrAktUser->setValue(QStringLiteral("Passwort"), PasswordHash::hash(password));
        qrAktUser->post();
    } catch (const AppError &) {
        if (qrAktUser->isPending())
            qrAktUser->cancel();
    }
}

void TFormPasswort::showHelp()
{
    TFormPassHilfe help(this);
    help.exec();
    fillUserList();
    m_cbUser->setFocus();
}
