#pragma once

#include <QAbstractFileIconProvider>

// Icons and type names for file lists and choosers, told from the name alone. Qt's own
// provider opens files whose name says nothing to find their type, and opening and closing
// the database file or its -wal/-shm anywhere in the process drops every lock SQLite holds
// on it. Every file list of the program uses this provider.
class NameOnlyIconProvider : public QAbstractFileIconProvider
{
public:
    NameOnlyIconProvider();

    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;

    // One shared instance; file models and dialogs do not own their provider.
    static NameOnlyIconProvider *instance();
};
