#pragma once

#include <QWidget>

// A tab of charts that follow a data set. A change only marks them out of date; they are
// rebuilt once for a burst of changes, and only while they can be seen (or when shown).
class ChartTab : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Rebuilds the charts now.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;
    // Connected to the signals of the data the charts show.
    void changed();
    virtual void rebuild() = 0;

private:
    bool m_stale = true;
    bool m_queued = false;
};
