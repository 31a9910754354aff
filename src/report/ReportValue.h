#pragma once

#include <QByteArray>
#include <QString>

// A value inside a template: the result of a field, a column, a variable or a function.
// Dates and times are day counts from 30.12.1899 with the time of day as fraction, the way
// report variables and date arithmetic of templates count them.
struct ReportValue
{
    enum class Type : quint8 { None = 0, Text = 1, Number = 2, Boolean = 3, DateTime = 4 };

    Type type = Type::None;
    bool isNull = false;      // an empty column value: written as nothing
    bool hasPicture = false;  // a picture column or picture-valued function
    QString text;
    double number = 0.0;      // numbers and day counts
    bool boolean = false;
    QByteArray picture;

    static ReportValue none() { return {}; }
    static ReportValue fromText(const QString &t)
    {
        ReportValue v;
        v.type = Type::Text;
        v.text = t;
        return v;
    }
    static ReportValue fromNumber(double n)
    {
        ReportValue v;
        v.type = Type::Number;
        v.number = n;
        return v;
    }
    static ReportValue fromBoolean(bool b)
    {
        ReportValue v;
        v.type = Type::Boolean;
        v.boolean = b;
        return v;
    }
    static ReportValue fromDateTime(double dayCount)
    {
        ReportValue v;
        v.type = Type::DateTime;
        v.number = dayCount;
        return v;
    }
    static ReportValue fromPicture(const QByteArray &bytes)
    {
        ReportValue v;
        v.hasPicture = true;
        v.picture = bytes;
        return v;
    }

    // The text a template writes for the value without a format function.
    QString displayText(const QString &trueValue, const QString &falseValue) const;
};
