#pragma once

#include "core/AppError.h"

#include <functional>

// The one exception type of the data layer; its message is German and shown as it stands.
class DataError : public AppError
{
public:
    using AppError::AppError;
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
