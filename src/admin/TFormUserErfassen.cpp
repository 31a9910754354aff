#include "admin/TFormUserErfassen.h"

#include "admin/PasswordEdit.h"
#include "core/AppError.h"
#include "data/DataModules.h"
#include "data/Database.h"
#include "ui/DbEdit.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSqlQuery>
#include <QStyle>
#include <QVBoxLayout>

TFormUserErfassen::TFormUserErfassen(DataModules &dm, QWidget *parent)
    : QDialog(parent), m_qrUser(dm.dmMP->qrUser)
{
    setObjectName(QStringLiteral("FormUserErfassen"));
    setWindowTitle(QStringLiteral("Benutzer erfassen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    guarded([this] {
        if (!m_qrUser->isOpen())
            m_qrUser->open();
    });
    // Every way this window stores a user ("Übernehmen", "Neu" over a typed user, a move
    // in the list) passes this check first.
    m_outerBeforePost = m_qrUser->beforePost;
    m_qrUser->beforePost = [this](DataSet &users) {
        checkShortName(users);
        if (m_outerBeforePost)
            m_outerBeforePost(users);
    };

    auto *bar = new RecordToolBar(m_qrUser, this);
    bar->addCloseButton(QStringLiteral("tbutEnde"), QStringLiteral("Ende"));
    bar->addNewButton(QStringLiteral("tbutNeu"), QStringLiteral("Neu"));
    bar->addButton(QStringLiteral("tbutLoeschen"), QStringLiteral("Löschen"),
                   Icons::standard(QStyle::SP_TrashIcon), [this] { deleteUser(); });
    connect(bar, &RecordToolBar::closeRequested, this, &TFormUserErfassen::reject);

    auto *eSbKurz = new DbEdit(m_qrUser, QStringLiteral("SbKurz"), this);
    eSbKurz->setObjectName(QStringLiteral("eSbKurz"));
    auto *eSbLang = new DbEdit(m_qrUser, QStringLiteral("SbLang"), this);
    eSbLang->setObjectName(QStringLiteral("eSbLang"));
    auto *eSbTelefon = new DbEdit(m_qrUser, QStringLiteral("SbTelefon"), this);
    eSbTelefon->setObjectName(QStringLiteral("eSbTelefon"));
    // Last, so the other inputs have reached the row before it looks at the row.
    auto *ePasswort = new PasswordEdit(m_qrUser, QStringLiteral("Passwort"), this);
    ePasswort->setObjectName(QStringLiteral("ePasswort"));
    ePasswort->setToolTip(QStringLiteral("Leer lassen, um das bisherige Passwort zu behalten"));
    bar->setFirstInput(eSbKurz);

    eSbKurz->setMinimumWidth(280);
    auto *group = new QGroupBox(QStringLiteral("Daten erfassen / ändern"), this);
    auto *form = new QFormLayout(group);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(8);
    form->addRow(QStringLiteral("Benutzer - Kürzel :"), eSbKurz);
    form->addRow(QStringLiteral("Benutzer - Name :"), eSbLang);
    form->addRow(QStringLiteral("Benutzer - Telefon :"), eSbTelefon);
    form->addRow(QStringLiteral("Passwort :"), ePasswort);

    auto *btnUebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    btnUebernehmen->setObjectName(QStringLiteral("btnUebernehmen"));
    auto *btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    btnUebernehmen->setAutoDefault(false);
    btnAbbrechen->setAutoDefault(false);
    connect(btnUebernehmen, &QPushButton::clicked, this, &TFormUserErfassen::takeOver);
    connect(btnAbbrechen, &QPushButton::clicked, this, &TFormUserErfassen::cancelAndClose);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnUebernehmen);
    buttons->addWidget(btnAbbrechen);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(bar);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 4, 12, 0);
    body->setSpacing(12);
    body->addWidget(group);
    body->addLayout(buttons);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TFormUserErfassen::~TFormUserErfassen()
{
    m_qrUser->beforePost = m_outerBeforePost;
}

void TFormUserErfassen::checkShortName(DataSet &users) const
{
    // The login looks a user up by short name and takes only a single match: a user
    // without one, or sharing one, could never log in. Report files are named after the
    // lower-cased short name, so names that differ only in case count as the same.
    const QString kurz = users.asString(QStringLiteral("SbKurz")).trimmed();
    if (kurz.isEmpty())
        throw UserWarning(QStringLiteral("Bitte geben Sie ein Benutzer-Kürzel ein.\r"
                                         "Ohne Kürzel kann sich der Benutzer nicht anmelden."));
    // Printouts are named after the short name; a path in it would write elsewhere.
    for (const QString &bad : {QStringLiteral("/"), QStringLiteral("\\"), QStringLiteral(":"), QStringLiteral("..")})
        if (kurz.contains(bad))
            throw UserWarning(QStringLiteral("Das Benutzer-Kürzel darf die Zeichen / \\ : und .. nicht enthalten.\r"
                                             "Bitte wählen Sie ein anderes Kürzel."));
    const QVariant self = users.state() == DataSet::State::Insert ? QVariant() : users.value(QStringLiteral("Ben_id"));
    QSqlQuery others = users.database()->exec(QStringLiteral("select Ben_id, SbKurz from benutzer"));
    while (others.next()) {
        if (!self.isNull() && others.value(0).toLongLong() == self.toLongLong())
            continue;
        if (others.value(1).toString().trimmed().compare(kurz, Qt::CaseInsensitive) == 0)
            throw UserWarning(QStringLiteral("Das Benutzer-Kürzel \"%1\" ist bereits vergeben.\r"
                                             "Bitte wählen Sie ein anderes Kürzel.")
                                  .arg(others.value(1).toString()));
    }
}

void TFormUserErfassen::reject()
{
    // Text still in an input goes into the pending row rather than being thrown away here.
    guarded([this] { m_qrUser->flushEditors(); });
    QDialog::reject();
}

void TFormUserErfassen::deleteUser()
{
    if (AskYesNo(QStringLiteral("User aus der Datenbank löschen?"), mkWarning))
        guarded([this] { m_qrUser->remove(); });
    guarded([this] { m_qrUser->reopen(); });
}

void TFormUserErfassen::takeOver()
{
    // A failed post keeps the window open on the pending row; a new row nobody typed
    // into is dropped rather than stored as a nameless user.
    if (!guarded([this] { m_qrUser->checkBrowseMode(); }))
        return;
    // The list shows the user just stored, not the first one.
    const QVariant key = m_qrUser->isEmpty() ? QVariant() : m_qrUser->value(QStringLiteral("Ben_id"));
    guarded([&] {
        m_qrUser->reopen();
        if (!key.isNull())
            m_qrUser->locate(QStringLiteral("Ben_id"), key);
    });
    accept();
}

void TFormUserErfassen::cancelAndClose()
{
    guarded([this] { m_qrUser->cancel(); });
    QDialog::reject();
}
