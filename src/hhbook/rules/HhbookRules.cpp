#include "hhbook/rules/HhbookRules.h"

#include "core/GermanFormat.h"
#include "core/SqlText.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "hhbook/rules/HhbookVocabulary.h"

#include <QDate>

namespace HhbookRules {

void newBook(DataSet &book, const DataSet &aktUser)
{
    book.setValue(QStringLiteral("User_id"), aktUser.isOpen() && !aktUser.isEmpty()
                                                 ? aktUser.value(QStringLiteral("Ben_id"))
                                                 : QVariant());
}

void newBooking(DataSet &booking, const DataSet &book)
{
    booking.setValue(QStringLiteral("Hhplan_id"),
                     book.isOpen() && !book.isEmpty() ? book.value(QStringLiteral("Hhplan_id")) : QVariant());
}

QString bookingCountText(int bookings)
{
    return QStringLiteral("  %1 Buchung(en)").arg(bookings);
}

int listedBookings(const DataSet &bookings)
{
    if (!bookings.isOpen())
        return 0;
    const DataSet *book = bookings.master();
    if (bookings.allFetched() || bookings.isPending() || !book || !book->isOpen() || book->isEmpty()
        || book->isNull(QStringLiteral("Hhplan_id")))
        return bookings.recordCount();
    return bookings.database()
        ->scalar(QStringLiteral("select count(*) from (%1) listed").arg(bookings.sql()),
                 {{QStringLiteral("hhplan_id"), book->value(QStringLiteral("Hhplan_id"))}})
        .toInt();
}

int storedBookings(const DataSet &book)
{
    return book.database()
        ->scalar(QStringLiteral("select count(*) from hhbuch where hhplan_id = :id"),
                 {{QStringLiteral("id"), book.value(QStringLiteral("Hhplan_id"))}})
        .toInt();
}

QString filterSql(const QString &from, const QString &to, const QString &rubrik, const QString &wayOfPayment)
{
    const bool allCategories = rubrik == HhbookVocabulary::All;
    const bool allWays = wayOfPayment == HhbookVocabulary::All;
    const QString head = QStringLiteral("select * from hhbuch where  hhplan_id = :hhplan_id and (buchdat >= '%s' and buchdat <= '%s')");
    const QString order = QStringLiteral(" order by buchdat");
    QStringList args{SqlText::doubleQuotes(from), SqlText::doubleQuotes(to)};
    QString sql = head;
    if (!allWays) {
        sql += QStringLiteral(" and rubdet = '%s'");
        args << SqlText::doubleQuotes(wayOfPayment);
    }
    if (!allCategories) {
        sql += QStringLiteral(" and rubrik = '%s'");
        args << SqlText::doubleQuotes(rubrik);
    }
    return SqlText::format(sql + order, args);
}

QString filterSql(const Filter &filter)
{
    return filterSql(filter.from, filter.to, filter.rubrik, filter.wayOfPayment);
}

Period periodOf(const ActiveFilter &filter, const DataSet &bookings)
{
    if (filter)
        return {filter->from, filter->to};
    if (!bookings.isOpen())
        return {};
    // Read without moving, and past undated bookings, which sort first.
    const int date = bookings.fieldIndex(QStringLiteral("Buchdat"));
    QDate first, last;
    const int rows = bookings.recordCount();
    for (int r = 0; r < rows; ++r) {
        const QDate d = bookings.valueAt(r, date).toDate();
        if (!d.isValid())
            continue;
        if (!first.isValid() || d < first)
            first = d;
        if (!last.isValid() || d > last)
            last = d;
    }
    if (!first.isValid())
        return {};
    return {GermanFormat::shortDate(first), GermanFormat::shortDate(last)};
}

QString filterText(const ActiveFilter &filter)
{
    if (!filter)
        return QStringLiteral("ohne Filter (alle Buchungen)");
    auto word = [](const QString &chosen) {
        return chosen == HhbookVocabulary::All ? QStringLiteral("alle") : chosen;
    };
    return QStringLiteral("Rubrik: %1; Bar / Konto: %2").arg(word(filter->rubrik), word(filter->wayOfPayment));
}

QString selectionText(const ActiveFilter &filter, const DataSet &bookings)
{
    const Period p = periodOf(filter, bookings);
    if (p.from.isEmpty())
        return QStringLiteral("Keine Buchungen; ") + filterText(filter);
    return QStringLiteral("Zeitraum %1 bis %2; %3").arg(p.from, p.to, filterText(filter));
}

Summary summarize(const DataSet &bookings)
{
    Summary s;
    if (!bookings.isOpen())
        return s;
    const int rubrik = bookings.fieldIndex(QStringLiteral("Rubrik"));
    const int betrag = bookings.fieldIndex(QStringLiteral("Betrag"));
    // Read without moving: every step of the cursor would redraw the bound list and controls.
    const int rows = bookings.recordCount();
    for (int r = 0; r < rows; ++r) {
        const int c = HhbookVocabulary::categoryIndex(bookings.valueAt(r, rubrik).toString());
        const QVariant amount = bookings.valueAt(r, betrag);
        if (c >= 0 && !amount.isNull())
            s.sums[c] += Money::fromDouble(amount.toDouble());
    }
    const auto &[ek, wk, vs, vk, ak, lk, sk, hk] = s.sums;
    s.zwisu = ek - wk - vs - vk - ak;
    s.maxKredit = s.zwisu - lk;
    s.maxHaus = s.maxKredit - sk;
    s.defizit = s.maxHaus - hk;
    if (ek > Money())
        for (size_t i = 0; i < s.sums.size(); ++i)
            s.shares[i] = s.sums[i].toDouble() * 100.0 / ek.toDouble();
    return s;
}

Summary ComputeHouseholdBook(DataSet &bookings, DataSet &book, const ActiveFilter &filter)
{
    if (bookings.isOpen())
        bookings.post();
    const Summary s = summarize(bookings);
    if (bookings.isOpen() && !bookings.isEmpty())
        bookings.last();
    // Editing an empty book query would start a new, nameless book.
    if (!book.isOpen() || book.isEmpty())
        return s;
    book.edit();
    const auto &cats = HhbookVocabulary::categories();
    for (size_t i = 0; i < s.sums.size(); ++i)
        book.setMoney(cats.at(static_cast<int>(i)).sumField, s.sums[i]);
    book.setMoney(QStringLiteral("Zwisu"), s.zwisu);
    book.setMoney(QStringLiteral("Maxkredit"), s.maxKredit);
    book.setMoney(QStringLiteral("Maxhaus"), s.maxHaus);
    book.setMoney(QStringLiteral("Defizit"), s.defizit);
    book.setValue(QStringLiteral("Auswahl"), selectionText(filter, bookings));
    book.post();
    return s;
}

} // namespace HhbookRules
