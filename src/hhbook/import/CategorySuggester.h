#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Proposes a category for a statement booking from the earlier bookings of the same book:
// the latest booking with the same counterparty, else the booking sharing the most words of
// its text (the latest among equals). Only the eight categories of the book are proposed.
class CategorySuggester
{
public:
    // Earlier bookings, in any order; `order` breaks ties between bookings of one day.
    void learn(const QString &counterparty, const QString &text, const QString &rubrik, const QDate &date, qint64 order)
    {
        learnCounterparty(counterparty, rubrik, date, order);
        learnWords(counterparty + u' ' + text, rubrik, date, order);
    }
    void learnCounterparty(const QString &counterparty, const QString &rubrik, const QDate &date, qint64 order);
    void learnWords(const QString &text, const QString &rubrik, const QDate &date, qint64 order);
    // "" when nothing in the book resembles the booking.
    QString suggest(const QString &counterparty, const QString &text) const;

    // The words that tell bookings apart: lower case, three letters at least, without the
    // words every bank puts into its texts.
    static QStringList words(const QString &text);

private:
    struct Known
    {
        QString rubrik;
        QDate date;
        qint64 order = 0;
        bool newerThan(const Known &o) const { return date != o.date ? date > o.date : order > o.order; }
    };
    static void keepNewer(QHash<QString, Known> &map, const QString &key, const Known &k);

    QHash<QString, Known> m_byCounterparty;
    QHash<QString, int> m_signatureIndex;    // sorted word list → index into m_signatures
    QVector<Known> m_signatures;
    QHash<QString, QVector<int>> m_postings; // word → signatures containing it
    mutable QHash<QString, QString> m_cache;
};
