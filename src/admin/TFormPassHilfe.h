#pragma once

#include <QDialog>

// What a first-time user has to do: log in as the initial user, then enter the own address,
// the report folders and the real users.
class TFormPassHilfe : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPassHilfe(QWidget *parent = nullptr);

    // The help text as plain lines, for anyone who wants to read it without the markup.
    static QStringList lines();
};
