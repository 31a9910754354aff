#pragma once

#include "core/AppError.h"

#include <functional>

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

// Another program changed the row since this one read it: the save is refused, the row stays
// pending, and `reload` (when set) shows the row as it is stored now, dropping the change.
class RecordChanged : public DataError
{
public:
    RecordChanged(const QString &message, std::function<void()> reload) : DataError(message), m_reload(std::move(reload)) {}

    static inline const QString ReloadQuestion = QStringLiteral("Möchten Sie den Datensatz neu laden? Ihre Änderung "
                                                                 "geht dabei verloren.");
    void reload() const
    {
        if (m_reload)
            m_reload();
    }

private:
    std::function<void()> m_reload;
};
