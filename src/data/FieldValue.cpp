#include "data/FieldValue.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"
#include "core/Money.h"
#include "data/DataError.h"

#include <QDate>
#include <QTime>

#include <cmath>

namespace FieldValue {

namespace {

// ISO dates come back for every row of a large book; reading them by hand is several
// times faster than QDate::fromString.
QDate isoDate(const QString &s)
{
    if (s.size() != 10 || s.at(4) != u'-' || s.at(7) != u'-')
        return {};
    auto digits = [&s](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = s.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            v = v * 10 + (c - u'0');
        }
        return v;
    };
    const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
    if (y < 0 || m < 0 || d < 0)
        return {};
    return QDate(y, m, d);
}

QTime isoTime(const QString &s)
{
    QTime t = QTime::fromString(s, QStringLiteral("HH:mm:ss"));
    if (!t.isValid())
        t = QTime::fromString(s, QStringLiteral("HH:mm"));
    return t;
}

} // namespace

QVariant fromStorage(const QVariant &stored, FieldType type)
{
    if (stored.isNull())
        return QVariant();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        return stored.typeId() == QMetaType::QString ? stored : QVariant(stored.toString());
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoIncrement:
        return QVariant(stored.toInt());
    case FieldType::Money:
    case FieldType::Float:
        return QVariant(stored.toDouble());
    case FieldType::Date: {
        if (stored.typeId() == QMetaType::QDate)
            return stored.toDate().isValid() ? stored : QVariant();
        const QDate d = isoDate(stored.toString());
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Time: {
        if (stored.typeId() == QMetaType::QTime)
            return stored.toTime().isValid() ? stored : QVariant();
        const QTime t = isoTime(stored.toString());
        return t.isValid() ? QVariant(t) : QVariant();
    }
    case FieldType::Boolean:
        if (stored.typeId() == QMetaType::QString) {
            const QString s = stored.toString().trimmed().toLower();
            return QVariant(s == u"1" || s == u"true");
        }
        return QVariant(stored.toLongLong() != 0);
    }
    return stored;
}

QVariant coerce(const QVariant &value, FieldType type, int size)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    if (isText && text.trimmed().isEmpty() && !isTextual(type))
        return QVariant();
    try {
        switch (type) {
        case FieldType::Text: {
            QString s = value.toString();
            if (s.isEmpty())
                return QVariant();
            if (size > 0 && s.size() > size)
                s.truncate(size);
            return s;
        }
        case FieldType::Memo: {
            const QString s = value.toString();
            return s.isEmpty() ? QVariant() : QVariant(s);
        }
        case FieldType::Integer:
        case FieldType::AutoIncrement:
            if (isText)
                return GermanFormat::parseInteger(text);
            return QVariant(value.toInt());
        case FieldType::SmallInt: {
            const int v = isText ? GermanFormat::parseInteger(text) : value.toInt();
            if (v < -32768 || v > 32767)
                throw ConversionError(QStringLiteral("Der Wert %1 liegt außerhalb des gültigen Bereichs (-32768 bis 32767)")
                                          .arg(v));
            return QVariant(v);
        }
        case FieldType::Money:
            // Checked even when it comes as a number: a sum beyond the range must not be stored.
            if (isText)
                return GermanFormat::parseMoney(text).toDouble();
            if (const double d = value.toDouble(); !qIsFinite(d) || std::abs(d) >= 1e14)
                Money::fromDouble(d);   // throws the message naming the amount
            return QVariant(value.toDouble());
        case FieldType::Float:
            if (isText)
                return GermanFormat::parseFloat(text);
            return QVariant(value.toDouble());
        case FieldType::Date:
            if (isText)
                return GermanFormat::parseDate(text);
            if (value.typeId() == QMetaType::QDateTime)
                return value.toDateTime().date();
            return value.toDate().isValid() ? QVariant(value.toDate()) : QVariant();
        case FieldType::Time:
            if (isText)
                return GermanFormat::parseTime(text);
            return value.toTime().isValid() ? QVariant(value.toTime()) : QVariant();
        case FieldType::Boolean:
            if (isText) {
                const QString s = text.trimmed().toLower();
                return QVariant(s == u"1" || s == u"true" || s == u"ja" || s == u"wahr");
            }
            return QVariant(value.toBool());
        }
    } catch (const ConversionError &e) {
        throw DataError(e.message());
    }
    return value;
}

QString displayText(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return {};
    switch (type) {
    case FieldType::Money: return GermanFormat::currency(value.toDouble());
    case FieldType::Float: return GermanFormat::number(value.toDouble(), 2);
    case FieldType::Date: return GermanFormat::shortDate(value.toDate());
    case FieldType::Time: return GermanFormat::shortTime(value.toTime());
    case FieldType::Boolean: return value.toBool() ? QStringLiteral("Ja") : QStringLiteral("Nein");
    default: return value.toString();
    }
}

QString editText(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return {};
    switch (type) {
    case FieldType::Money: return GermanFormat::fixed(value.toDouble(), 2);
    case FieldType::Float: {
        QString s = QString::number(value.toDouble(), 'g', 15);
        return s.replace(u'.', u',');
    }
    default: return displayText(value, type);
    }
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

} // namespace FieldValue
