#pragma once

#include <QString>
#include <stdexcept>

// Every failure the program reports to the user carries a German message. Layers derive
// their own type so a caller can tell where an error came from, but the top level only
// needs this base to show the text in an error box.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    const QString &message() const noexcept { return m_message; }

private:
    QString m_message;
};

// A typed value could not be read as date, whole number or number.
class ConversionError : public AppError
{
public:
    using AppError::AppError;
};

// A rule refused what the user tried; shown as a warning, not as an error.
class UserWarning : public AppError
{
public:
    using AppError::AppError;
};

// The user stopped the operation (a printout's "Abbrechen"): nothing was changed, and there
// is nothing to report.
class OperationCancelled : public AppError
{
public:
    OperationCancelled() : AppError(QStringLiteral("Der Vorgang wurde abgebrochen.")) {}
};
