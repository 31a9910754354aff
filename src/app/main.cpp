#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Finorra 1.0 (Pro)"));
    label.show();
    return app.exec();
}
