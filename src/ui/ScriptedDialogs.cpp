#include "ui/ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs()
{
    Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    Dialogs::install(nullptr);
}

void ScriptedDialogs::answers(const QVariantList &values)
{
    for (const QVariant &v : values)
        m_answers.enqueue(v);
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Entry &e : m_log)
        out << e.text;
    return out;
}

QVariant ScriptedDialogs::next()
{
    return m_answers.isEmpty() ? QVariant() : m_answers.dequeue();
}

void ScriptedDialogs::showMsg(const QString &text, TMsgKind kind)
{
    m_log.append({QStringLiteral("showMsg"), text, kind});
}

bool ScriptedDialogs::askYesNo(const QString &text, TMsgKind kind)
{
    m_log.append({QStringLiteral("askYesNo"), text, kind});
    return next().toBool();
}

bool ScriptedDialogs::confirmOkCancel(const QString &text)
{
    m_log.append({QStringLiteral("confirmOkCancel"), text, mkConfirm});
    return next().toBool();
}

QString ScriptedDialogs::chooseDirectory(const QString &caption, const QString &)
{
    m_log.append({QStringLiteral("chooseDirectory"), caption, mkInfo});
    return next().toString();
}

QString ScriptedDialogs::chooseFile(const QString &caption, const QString &, const QString &)
{
    m_log.append({QStringLiteral("chooseFile"), caption, mkInfo});
    return next().toString();
}

QString ScriptedDialogs::chooseSaveFile(const QString &caption, const QString &, const QString &)
{
    m_log.append({QStringLiteral("chooseSaveFile"), caption, mkInfo});
    return next().toString();
}

bool ScriptedDialogs::inputBox(const QString &, const QString &prompt, QString *value)
{
    m_log.append({QStringLiteral("inputBox"), prompt, mkInfo});
    const QVariant v = next();
    if (!v.isValid() || v.toString().isEmpty())
        return false;
    if (value)
        *value = v.toString();
    return true;
}
