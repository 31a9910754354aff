#include "admin/TFormUser.h"

#include "admin/TFormUserErfassen.h"
#include "data/DataModules.h"
#include "ui/DbGrid.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TFormUser::TFormUser(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm), m_qrUser(dm.dmMP->qrUser)
{
    setObjectName(QStringLiteral("FormUser"));
    setWindowTitle(QStringLiteral("Benutzerverwaltung"));

    auto *bar = new RecordToolBar(m_qrUser, this);
    bar->addCloseButton(QStringLiteral("tbutEnde"), QStringLiteral("Ende"))
        ->setToolTip(QStringLiteral("Formular verlassen"));
    bar->addButton(QStringLiteral("tbutBearbeiten"), QStringLiteral("Bearbeiten"),
                   Icons::standard(QStyle::SP_FileDialogDetailedView), [this] { editUser(); });
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    guarded([this] { m_qrUser->reopen(); });

    // A short name may have 20 characters, and all of them are shown.
    const int kurzWidth = fontMetrics().horizontalAdvance(QString(20, u'W')) + 12;
    auto *grid = new DbGrid(m_qrUser,
                            {{QStringLiteral("SbKurz"), QStringLiteral("Kürzel"), kurzWidth},
                             {QStringLiteral("SbLang"), QStringLiteral("Name"), 240},
                             {QStringLiteral("SbTelefon"), QStringLiteral("Telefon"), 140}},
                            this);
    grid->setObjectName(QStringLiteral("gridUser"));
    grid->setReadOnly(true);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("stbUser"));
    status->setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(grid, 1);
    layout->addWidget(status);
    resize(kurzWidth + 240 + 140 + 24, 360);
}

void TFormUser::editUser()
{
    TFormUserErfassen capture(m_dm, this);
    capture.exec();
}

bool TFormUser::canClose()
{
    // A row left pending in the capture window is dropped here and must not count as a user.
    if (m_qrUser->isPending() && !guarded([this] { m_qrUser->cancel(); }))
        return false;
    if (!m_qrUser->isOpen() && !guarded([this] { m_qrUser->open(); }))
        return false;
    if (m_qrUser->recordCount() == 0) {
        ShowMsg(QStringLiteral("Es muss mindestens ein Benutzer vorhanden sein!"), mkWarning);
        return false;
    }
    ShowMsg(QStringLiteral("Programm muss neu gestartet werden!"), mkWarning);
    m_qrUser->close();
    m_programMustEnd = true;
    return true;
}
