#pragma once

#include "core/AppError.h"

// The one exception type of the data layer; its message is German and shown as it stands.
class DataError : public AppError
{
public:
    using AppError::AppError;
};
