#pragma once

#include <QDialog>

// "Über Finorra ...": program name, version, picture, OK.
class TFormAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);
};
