#pragma once

#include "core/AppError.h"

// The one exception type of the data layer; its message is German and shown as it stands.
class DataError : public AppError
{
public:
    using AppError::AppError;
};

class DataSet;

// A row posted without a value its table requires. The message names the column, as the data
// layer does; a window that shows the column under a label names the label instead.
class RequiredFieldError : public DataError
{
public:
    RequiredFieldError(const QString &message, const DataSet *dataSet, const QString &field)
        : DataError(message), m_dataSet(dataSet), m_field(field)
    {
    }

    const DataSet *dataSet() const noexcept { return m_dataSet; }
    const QString &field() const noexcept { return m_field; }

private:
    const DataSet *m_dataSet;
    QString m_field;
};
