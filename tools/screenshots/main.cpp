#include "ScreenshotTour.h"

#include "ui/DesktopSetup.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    DesktopSetup::apply();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    ScreenshotTour tour(out);
    const int n = tour.run();
    std::printf("%d Bildschirmfotos in %s\n", n, qPrintable(out));
    return n > 0 ? 0 : 1;
}
