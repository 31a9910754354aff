#pragma once

#include "core/AppError.h"

// Any failure of a report run: template syntax, evaluation, files, opening the result.
class ReportError : public AppError
{
public:
    using AppError::AppError;
};
