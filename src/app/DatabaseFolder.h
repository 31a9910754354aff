#pragma once

#include <QString>

// Where the database file lies: beside the program where that folder is writable (a copy
// unpacked into a folder of its own, as offices have always run it), otherwise in the
// user's data folder (an installed program under /usr or "Program Files").
namespace DatabaseFolder {

struct Choice
{
    // With a trailing '/'.
    QString folder;
    // True when the program's folder was not writable and the user's data folder is used.
    bool fellBack = false;
};

// `exeDir`: the executable's folder. `userDataDir`: the folder to fall back to; empty means
// QStandardPaths::AppDataLocation. The fallback folder is created when missing.
Choice choose(const QString &exeDir, const QString &userDataDir = {});

// The folder for finished printouts that goes with the choice: "Reportausgabe/" beside the
// program, or in the user's data folder (created there) after a fallback.
QString reportOutput(const Choice &choice, const QString &exeDir);

// The status bar's note for a fallback: why the database is not beside the program.
QString fallbackNote(const QString &exeDir);

} // namespace DatabaseFolder
