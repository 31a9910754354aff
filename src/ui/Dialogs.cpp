#include "ui/Dialogs.h"

#include "ui/QtDialogs.h"

namespace {
Dialogs *g_installed = nullptr;
}

Dialogs &Dialogs::instance()
{
    static QtDialogs qtDialogs;
    return g_installed ? *g_installed : qtDialogs;
}

void Dialogs::install(Dialogs *dialogs)
{
    g_installed = dialogs;
}

QString Dialogs::caption(TMsgKind kind)
{
    switch (kind) {
    case mkError: return QStringLiteral("Fehler");
    case mkInfo: return QStringLiteral("Informationen");
    case mkWarning: return QStringLiteral("Warnung");
    case mkConfirm: return QStringLiteral("Bestätigen");
    }
    return QString();
}

void ShowMsg(const QString &text, TMsgKind kind)
{
    Dialogs::instance().showMsg(text, kind);
}

bool AskYesNo(const QString &text, TMsgKind kind)
{
    return Dialogs::instance().askYesNo(text, kind);
}
