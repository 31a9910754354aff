#include "app/AppInfo.h"
#include "app/TFormMain.h"
#include "data/DataModules.h"
#include "ui/DesktopSetup.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setApplicationName(AppInfo::Title);
    DesktopSetup::apply();

    DataModules dm;
    QString exeDir = QDir(QApplication::applicationDirPath()).absolutePath();
    if (!exeDir.endsWith(u'/'))
        exeDir += u'/';
    TFormMain window(dm, exeDir);
    if (!window.start())
        return 1;
    window.showMaximized();
    return app.exec();
}
