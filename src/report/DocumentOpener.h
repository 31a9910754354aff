#pragma once

#include <QString>

// Opens a finished document with the desktop's program for its type. The program
// implements it with QDesktopServices; tests record the calls.
class DocumentOpener
{
public:
    struct Result
    {
        bool ok = true;
        // On failure, the desktop's error number (the reasons of OpenFailureReason).
        int errorNumber = 0;
    };

    virtual ~DocumentOpener() = default;
    virtual Result open(const QString &path, int showMode) = 0;
};
