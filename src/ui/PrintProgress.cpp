#include "ui/PrintProgress.h"

#include <QApplication>
#include <QProgressDialog>

PrintProgress::~PrintProgress()
{
    finish();
}

void PrintProgress::start(qint64 total)
{
    finish();
    m_total = total;
    m_lastUpdateMs = 0;
    m_clock.start();
}

bool PrintProgress::advance(qint64 done)
{
    if (!m_clock.isValid())
        return true;
    const qint64 now = m_clock.elapsed();
    if (!m_window) {
        if (now < m_showAfterMs)
            return true;
        m_window = new QProgressDialog(QStringLiteral("Der Ausdruck wird erstellt …"), QStringLiteral("&Abbrechen"), 0,
                                       int(qMin<qint64>(m_total, INT_MAX)), QApplication::activeWindow());
        m_window->setObjectName(QStringLiteral("PrintProgress"));
        m_window->setWindowTitle(QStringLiteral("Ausdruck"));
        m_window->setWindowModality(Qt::ApplicationModal);
        m_window->setMinimumDuration(0);
        m_window->setAutoReset(false);
        m_window->setAutoClose(false);
        m_window->show();
    } else if (now - m_lastUpdateMs < 50) {
        return !m_window->wasCanceled();
    }
    m_lastUpdateMs = now;
    if (m_total > 0)
        m_window->setValue(int(qMin(done, m_total)));
    // Paints the window and lets its button be pressed while the run goes on.
    QApplication::processEvents();
    return !m_window->wasCanceled();
}

void PrintProgress::finish()
{
    m_clock.invalidate();
    delete m_window.data();
}

void PrintProgress::install()
{
    static PrintProgress progress;
    ReportProgress::setStandard(&progress);
}
