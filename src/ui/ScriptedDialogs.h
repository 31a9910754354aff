#pragma once

#include "ui/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <QVariant>

// Answers questions from a queue and records every text, so tests and the screenshot tour
// run without anybody at the keyboard. Installs itself for its lifetime.
class ScriptedDialogs : public Dialogs
{
public:
    struct Entry
    {
        QString call;   // "showMsg", "askYesNo", "confirmOkCancel", "chooseDirectory", "chooseFile",
                        // "chooseSaveFile", "inputBox"
        QString text;
        TMsgKind kind = mkWarning;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers, taken in order: bool for questions, QString for choosers and the input box
    // (an empty string means cancelled). A question with no answer queued answers No.
    void answer(const QVariant &value) { m_answers.enqueue(value); }
    void answers(const QVariantList &values);

    const QList<Entry> &log() const { return m_log; }
    QStringList texts() const;   // every recorded text, in order
    QString lastText() const { return m_log.isEmpty() ? QString() : m_log.last().text; }
    void clear() { m_log.clear(); }
    int pendingAnswers() const { return static_cast<int>(m_answers.size()); }

    void showMsg(const QString &text, TMsgKind kind) override;
    bool askYesNo(const QString &text, TMsgKind kind) override;
    bool confirmOkCancel(const QString &text) override;
    QString chooseDirectory(const QString &caption, const QString &startDirectory) override;
    QString chooseFile(const QString &caption, const QString &startDirectory, const QString &filter) override;
    QString chooseSaveFile(const QString &caption, const QString &proposal, const QString &filter) override;
    bool inputBox(const QString &caption, const QString &prompt, QString *value) override;

private:
    QVariant next();

    QQueue<QVariant> m_answers;
    QList<Entry> m_log;
};
