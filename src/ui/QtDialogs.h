#pragma once

#include "ui/Dialogs.h"

class QtDialogs : public Dialogs
{
public:
    void showMsg(const QString &text, TMsgKind kind) override;
    bool askYesNo(const QString &text, TMsgKind kind) override;
    bool confirmOkCancel(const QString &text) override;
    QString chooseDirectory(const QString &caption, const QString &startDirectory) override;
    QString chooseFile(const QString &caption, const QString &startDirectory, const QString &filter) override;
    QString chooseSaveFile(const QString &caption, const QString &proposal, const QString &filter) override;
    bool inputBox(const QString &caption, const QString &prompt, QString *value) override;
    bool passwordBox(const QString &caption, const QString &prompt, QString *value) override;

private:
    static bool askText(const QString &caption, const QString &prompt, QString *value, int echoMode);
};
