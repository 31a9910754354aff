#include "app/TFormFortschritt.h"

#include <QLabel>
#include <QProgressBar>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

TFormFortschritt::TFormFortschritt(const QString &text, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormFortschritt"));
    setWindowTitle(QStringLiteral("Fortschrittsanzeige"));
    // No window buttons: the work cannot be interrupted half-way.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    m_text = new QLabel(text, this);
    m_text->setObjectName(QStringLiteral("lbText"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("pbFortschritt"));
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_bar->setMinimumWidth(320);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(m_text);
    layout->addSpacing(8);
    layout->addWidget(m_bar);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &TFormFortschritt::tick);
    m_timer->start();
    tick();
}

void TFormFortschritt::tick()
{
    m_bar->setValue(QTime::currentTime().msec() / 20);
}

void TFormFortschritt::setShare(double share)
{
    m_timer->stop();
    m_bar->setValue(static_cast<int>(share * 100.0 + 0.5));
}
