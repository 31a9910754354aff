#pragma once

#include <QString>

namespace OpenFailureReason {

// The reason text for a desktop error number ("Reason unknown." for numbers not listed).
QString text(int errorNumber);

} // namespace OpenFailureReason
