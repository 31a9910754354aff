#pragma once

#include <QByteArray>
#include <QString>

// Puts a complete file into a folder under a name only when nothing carries that name yet.
// Readers of the folder see either no file or the whole content, never a part of it, and
// a file that appears meanwhile is never replaced.
namespace NoReplaceFile {

enum class Outcome { Placed, AlreadyThere, Failed };

struct Result
{
    Outcome outcome = Outcome::Failed;
    int error = 0;   // errno of the failing step when outcome is Failed
};

Result place(const QString &directory, const QString &name, const QByteArray &content);

} // namespace NoReplaceFile
