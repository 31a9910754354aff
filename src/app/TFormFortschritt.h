#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

// "Fortschrittsanzeige": a text and a bar that keeps moving while long work runs, so the
// user sees the program is alive. The bar measures nothing.
class TFormFortschritt : public QDialog
{
    Q_OBJECT
public:
    explicit TFormFortschritt(const QString &text, QWidget *parent = nullptr);

    QProgressBar *bar() const { return m_bar; }
    void tick();   // what the timer does once a second
    // From then on the bar shows the share of the work done (0 … 1) instead of moving on its own.
    void setShare(double share);

private:
    QLabel *m_text;
    QProgressBar *m_bar;
    QTimer *m_timer;
};
