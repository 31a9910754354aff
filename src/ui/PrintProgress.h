#pragma once

#include "report/ReportProgress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

// The progress window of a long printout: it appears once a run has taken longer than a
// moment, counts the records written, and its "Abbrechen" stops the run with nothing
// written. Installed for every printout of the program by install().
class PrintProgress : public ReportProgress
{
public:
    // After how many milliseconds of a run the window appears.
    explicit PrintProgress(int showAfterMs = 500) : m_showAfterMs(showAfterMs) {}
    ~PrintProgress() override;

    void start(qint64 total) override;
    bool advance(qint64 done) override;
    void finish() override;

    // The window while it is shown, for tests.
    QProgressDialog *window() const { return m_window; }

    static void install();

private:
    int m_showAfterMs;
    qint64 m_total = 0;
    QElapsedTimer m_clock;
    qint64 m_lastUpdateMs = 0;
    QPointer<QProgressDialog> m_window;
};
