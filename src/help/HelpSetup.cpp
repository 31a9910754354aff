#include "help/HelpSetup.h"

#include "help/TFormProgInfo.h"
#include "ui/Help.h"

#include <QApplication>

namespace HelpSetup {

void install(DataModules &dm)
{
    Help::install([&dm](const QString &keyword, QWidget *parent) {
        TFormProgInfo::showReadOnly(dm, keyword, parent ? parent->window() : QApplication::activeWindow());
    });
}

} // namespace HelpSetup
