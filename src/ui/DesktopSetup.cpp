#include "ui/DesktopSetup.h"

#include "ui/AccessKeyGuard.h"
#include "ui/PrintProgress.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace DesktopSetup {

bool apply()
{
    AccessKeyGuard::install();
    PrintProgress::install();
    auto *qtTexts = new QTranslator(qApp);
    if (!qtTexts->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qWarning("Qt's German texts (qtbase_de) were not found; dialogs of Qt stay English");
        delete qtTexts;
        return false;
    }
    QApplication::installTranslator(qtTexts);
    return true;
}

} // namespace DesktopSetup
