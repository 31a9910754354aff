#pragma once

#include <QString>

// The kinds of message; each chooses the icon and the caption of the box.
enum TMsgKind { mkError = 0, mkInfo = 1, mkWarning = 2, mkConfirm = 3 };

// Every question and message of the program goes through this service, as do the file and
// directory choosers and the input box. The program installs the Qt implementation; tests
// install a scripted one that answers from a queue and records every text.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual void showMsg(const QString &text, TMsgKind kind) = 0;
    // "&Ja" (default) and "&Nein"; Escape and the close box answer No.
    virtual bool askYesNo(const QString &text, TMsgKind kind) = 0;
    // "OK" and "Abbrechen", kind mkConfirm: the question of Ctrl+Delete in lists.
    virtual bool confirmOkCancel(const QString &text) = 0;
    // The chosen directory, or an empty string when cancelled.
    virtual QString chooseDirectory(const QString &caption, const QString &startDirectory) = 0;
    // The chosen file, or an empty string when cancelled.
    virtual QString chooseFile(const QString &caption, const QString &startDirectory, const QString &filter) = 0;
    // The file to write, proposed as `proposal` (folder and name); empty when cancelled.
    virtual QString chooseSaveFile(const QString &caption, const QString &proposal, const QString &filter) = 0;
    // Returns false when cancelled; `value` carries the proposal in and the answer out.
    virtual bool inputBox(const QString &caption, const QString &prompt, QString *value) = 0;
    // Like inputBox, but what is typed is not shown (a password).
    virtual bool passwordBox(const QString &caption, const QString &prompt, QString *value)
    {
        return inputBox(caption, prompt, value);
    }

    static Dialogs &instance();
    // Installs a service (not owned); nullptr goes back to the Qt implementation.
    static void install(Dialogs *dialogs);

    static QString caption(TMsgKind kind);
};

void ShowMsg(const QString &text, TMsgKind kind);
bool AskYesNo(const QString &text, TMsgKind kind);
