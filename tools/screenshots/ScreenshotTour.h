#pragma once

#include <QString>

class QWidget;

// Renders the login, every page of the main window and every window to PNG files, without a
// display, so anyone can look at the program.
class ScreenshotTour
{
public:
    explicit ScreenshotTour(const QString &outputDir);

    // Returns the number of pictures written; 0 means something went wrong.
    int run();

private:
    void save(QWidget *widget, const QString &name);

    QString m_out;
    int m_count = 0;
};
