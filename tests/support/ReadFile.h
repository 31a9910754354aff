#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole content of a file, or nothing when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
