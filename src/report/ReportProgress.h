#pragma once

#include <QtGlobal>

// Told how far a report run has come, so a long printout can show that it is alive and be
// cancelled. The engine calls advance() after every record it wrote; false stops the run
// with OperationCancelled, and no output is left behind.
class ReportProgress
{
public:
    virtual ~ReportProgress() = default;

    // `total`: the records of the data sets handed to the run, 0 when not known.
    virtual void start(qint64 total) = 0;
    virtual bool advance(qint64 done) = 0;
    virtual void finish() = 0;

    // The progress of every report that sets none of its own (the program installs its
    // progress window here; nullptr: none).
    static ReportProgress *standard();
    static void setStandard(ReportProgress *progress);
};
