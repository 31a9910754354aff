#include "report/OpenFailureReason.h"

namespace OpenFailureReason {

QString text(int errorNumber)
{
    switch (errorNumber) {
    case 0: return QStringLiteral("The operating system is out of memory or resources.");
    case 2: return QStringLiteral("The specified file was not found.");
    case 3: return QStringLiteral("The specified path was not found.");
    case 5: return QStringLiteral("The operating system denied access to the specified file.");
    case 8: return QStringLiteral("There was not enough memory to complete the operation.");
    case 11: return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case 26: return QStringLiteral("A sharing violation occurred.");
    case 27: return QStringLiteral("The filename association is incomplete or invalid.");
    case 28: return QStringLiteral("The DDE transaction could not be completed because the request timed out.");
    case 29: return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral(
            "The DDE transaction could not be completed because other DDE transactions were being processed.");
    case 31: return QStringLiteral("There is no application associated with the given filename extension.");
    case 32: return QStringLiteral("The specified dynamic-link library was not found.");
    default: break;
    }
    return QStringLiteral("Reason unknown.");
}

} // namespace OpenFailureReason
