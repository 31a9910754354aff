#include "ui/QtDialogs.h"

#include "ui/NameOnlyIconProvider.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

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

namespace {

// Qt's own chooser with the name-only icon provider: the desktop's native chooser and Qt's
// default provider both open files to learn their type, which would drop the database's
// locks (see NameOnlyIconProvider). The dialog begins in an empty folder of its own, so it
// lists nothing before the provider is in place, and only then goes to the start folder.
QString runChooser(const QString &caption, const QString &startDirectory, const QString &filter,
                   QFileDialog::FileMode mode, const QString &proposedName = {})
{
    const QTemporaryDir empty;
    // Without this the desktop's chooser is set up along with the dialog, before the
    // option below can refuse it.
    const bool nativeAllowed = !QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    QFileDialog dialog(parentWindow(), caption, empty.isValid() ? empty.path() : QDir::rootPath(), filter);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, !nativeAllowed);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    dialog.setIconProvider(NameOnlyIconProvider::instance());
    dialog.setFileMode(mode);
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    if (mode == QFileDialog::AnyFile)
        dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDirectory(startDirectory);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    dialog.setHistory({});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtDialogs::chooseDirectory(const QString &caption, const QString &startDirectory)
{
    return runChooser(caption, startDirectory, QString(), QFileDialog::Directory);
}

QString QtDialogs::chooseFile(const QString &caption, const QString &startDirectory, const QString &filter)
{
    return runChooser(caption, startDirectory, filter, QFileDialog::ExistingFile);
}

QString QtDialogs::chooseSaveFile(const QString &caption, const QString &proposal, const QString &filter)
{
    const QFileInfo file(proposal);
    return runChooser(caption, file.absolutePath(), filter, QFileDialog::AnyFile, file.fileName());
}

bool QtDialogs::inputBox(const QString &caption, const QString &prompt, QString *value)
{
    return askText(caption, prompt, value, QLineEdit::Normal);
}

bool QtDialogs::passwordBox(const QString &caption, const QString &prompt, QString *value)
{
    return askText(caption, prompt, value, QLineEdit::Password);
}

bool QtDialogs::askText(const QString &caption, const QString &prompt, QString *value, int echoMode)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parentWindow(), caption, lines(prompt),
                                                 static_cast<QLineEdit::EchoMode>(echoMode), value ? *value : QString(), &ok);
    if (ok && value)
        *value = answer;
    return ok;
}
