#pragma once

#include <QDialog>

// "About ...": program name, version, picture, OK.
class TFormAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);
};
