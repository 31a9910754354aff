#pragma once

#include <QObject>

#include <functional>

class DataSet;
class TdmHh;
class TdmMP;

// The event handlers of the book and booking queries under their own names. Installed once,
// when the data modules exist; they hold whatever window creates a book or a booking.
class HhbookHandlers : public QObject
{
    Q_OBJECT
public:
    // `askFirstBookName` asks for the name of the book a user without any book gets with
    // the first booking; a cancelled question gives the empty text.
    HhbookHandlers(TdmHh &hh, TdmMP &mp, std::function<QString()> askFirstBookName = {});

    void setFirstBookNameAsker(std::function<QString()> ask) { m_askName = std::move(ask); }

    void qrHhplanAfterInsert(DataSet &ds);
    void qrHhbuchBeforeInsert(DataSet &ds);
    void qrHhbuchAfterInsert(DataSet &ds);

    // Creates and stores a book named after the answer, which becomes the current book.
    void EnsureHouseholdBook();

    static HhbookHandlers *of(TdmHh &hh);

private:
    TdmHh &m_hh;
    TdmMP &m_mp;
    std::function<QString()> m_askName;
};

inline const QString BookNamePrefix = QStringLiteral("Haushaltsbuch von ");
inline const QString BookNameCaption = QStringLiteral("Bitte geben Sie den Namen des Haushaltsbuches ein!");
