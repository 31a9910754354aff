#pragma once

#include <QString>
#include <QVariant>

// A data set as the report engine sees it: a cursor over rows with typed columns. The
// data layer adapts its queries to this; tests and the command-line tool use
// ReportMemoryDataSet.
class ReportDataSet
{
public:
    enum class FieldKind { Text, Number, Boolean, Date, Time, DateTime, Picture, Other };

    virtual ~ReportDataSet() = default;

    // The component name templates use ("qrKontakte"), compared without case.
    virtual QString name() const = 0;

    virtual int fieldCount() const = 0;
    virtual QString fieldName(int field) const = 0;
    virtual FieldKind fieldKind(int field) const = 0;
    // The current row's value; a null QVariant is an empty value. Text as QString, numbers
    // as double or integer, booleans as bool, dates as QDate, times as QTime, date-times as
    // QDateTime, pictures as QByteArray.
    virtual QVariant fieldValue(int field) const = 0;

    // Cursor: next() on the last row sets eof() and stays there; prior() on the first
    // sets bof(); last() sets eof(). An empty set is at eof() and bof().
    virtual void first() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    virtual void last() = 0;
    virtual bool eof() const = 0;
    virtual bool bof() const = 0;

    // The number of records, for the progress of a long run; -1 when not known.
    virtual qint64 recordCount() const { return -1; }

    // Visible lists bound to the set are detached while a report runs.
    virtual bool controlsDisabled() const { return false; }
    virtual void disableControls() {}
    virtual void enableControls() {}
};
