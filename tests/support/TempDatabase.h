#pragma once

#include "data/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A real database file in a temporary folder. Creating a file hashes the initial password,
// which takes a moment, so the first one made in a process is copied for all later ones.
class TempDatabase
{
public:
    TempDatabase()
    {
        static QTemporaryDir templateDir;
        static bool made = false;
        if (!made) {
            Database maker;
            maker.open(templateDir.path());
            maker.close();
            made = true;
        }
        QFile::copy(templateDir.filePath(Database::FileName), m_dir.filePath(Database::FileName));
        QFile::setPermissions(m_dir.filePath(Database::FileName),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    QString dir() const { return m_dir.path(); }
    QString filePath() const { return m_dir.filePath(Database::FileName); }

    // A connection of its own to the file.
    std::unique_ptr<Database> connect(int busyTimeoutMs = 10000) const
    {
        auto db = std::make_unique<Database>();
        db->setBusyTimeout(busyTimeoutMs);
        db->open(dir());
        return db;
    }

    static QByteArray fileHash(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

private:
    QTemporaryDir m_dir;
};
