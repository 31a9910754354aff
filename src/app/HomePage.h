#pragma once

#include <QWidget>

class QVBoxLayout;

// The Home page: banner, picture and the overview of what the program does. The help
// panel is added below by whoever builds it.
class HomePage : public QWidget
{
    Q_OBJECT
public:
    explicit HomePage(QWidget *parent = nullptr);

    // Where the help button and panel go.
    QVBoxLayout *helpArea() const { return m_helpArea; }

private:
    QVBoxLayout *m_helpArea;
};
