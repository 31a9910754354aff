#include "ui/charts/ChartTab.h"

#include <QTimer>

void ChartTab::refresh()
{
    m_stale = false;
    rebuild();
}

void ChartTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void ChartTab::changed()
{
    m_stale = true;
    if (!isVisible() || m_queued)
        return;
    m_queued = true;
    QTimer::singleShot(0, this, [this] {
        m_queued = false;
        if (m_stale && isVisible())
            refresh();
    });
}
