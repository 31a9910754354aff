#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon iconFor(TMsgKind kind)
{
    switch (kind) {
    case mkError: return QMessageBox::Critical;
    case mkInfo: return QMessageBox::Information;
    case mkWarning: return QMessageBox::Warning;
    case mkConfirm: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Texts mark line breaks with "\r"; the box wants "\n".
QString lines(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

QWidget *parentWindow()
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

} // namespace

void QtDialogs::showMsg(const QString &text, TMsgKind kind)
{
    QMessageBox box(iconFor(kind), Dialogs::caption(kind), lines(text), QMessageBox::NoButton, parentWindow());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtDialogs::askYesNo(const QString &text, TMsgKind kind)
{
    QMessageBox box(iconFor(kind), Dialogs::caption(kind), lines(text), QMessageBox::NoButton, parentWindow());
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool QtDialogs::confirmOkCancel(const QString &text)
{
    QMessageBox box(QMessageBox::Question, Dialogs::caption(mkConfirm), lines(text), QMessageBox::NoButton,
                    parentWindow());
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

QString QtDialogs::chooseDirectory(const QString &caption, const QString &startDirectory)
{
    return QFileDialog::getExistingDirectory(parentWindow(), caption, startDirectory);
}

QString QtDialogs::chooseFile(const QString &caption, const QString &startDirectory, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), caption, startDirectory, filter);
}

bool QtDialogs::inputBox(const QString &caption, const QString &prompt, QString *value)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parentWindow(), caption, lines(prompt), QLineEdit::Normal,
                                                 value ? *value : QString(), &ok);
    if (ok && value)
        *value = answer;
    return ok;
}
