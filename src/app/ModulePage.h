#pragma once

#include <QWidget>

class QVBoxLayout;

// A page of the main window: a title line and the body that the module fills.
class ModulePage : public QWidget
{
    Q_OBJECT
public:
    ModulePage(const QString &objectName, const QString &title, QWidget *parent = nullptr);

    QVBoxLayout *body() const { return m_body; }

private:
    QVBoxLayout *m_body;
};
