#include "core/Money.h"

#include "core/AppError.h"
#include "core/DecimalText.h"

Money Money::fromDouble(double value)
{
    const DecimalText text = DecimalText::fromDouble(value, 4, DecimalText::Rounding::HalfToEven);
    if (!qIsFinite(value) || text.integerDigits.size() > 14)
        throw ConversionError(QStringLiteral("Der Betrag %1 liegt außerhalb des gültigen Bereichs")
                                  .arg(value));
    const qint64 raw = (text.integerDigits + text.fractionDigits).toLongLong();
    return Money(text.negative ? -raw : raw);
}

double Money::toDouble() const
{
    // One correctly rounded division gives the double nearest to the decimal amount.
    return static_cast<double>(m_raw) / static_cast<double>(Scale);
}
