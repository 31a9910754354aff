#pragma once

#include <QtGlobal>
#include <compare>

// A money amount as a signed count of ten-thousandths. Amounts are stored as doubles;
// every sum, difference and comparison goes through this type so cents never drift.
class Money
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;

    // Rounds to four decimals, halves to even. Throws ConversionError for values that are
    // not finite or lie outside the 64-bit range.
    static Money fromDouble(double value);
    static constexpr Money fromRaw(qint64 tenThousandths) { return Money(tenThousandths); }
    static constexpr Money fromCents(qint64 cents) { return Money(cents * 100); }

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const;
    bool isZero() const { return m_raw == 0; }

    constexpr Money operator+(Money o) const { return Money(m_raw + o.m_raw); }
    constexpr Money operator-(Money o) const { return Money(m_raw - o.m_raw); }
    constexpr Money operator-() const { return Money(-m_raw); }
    constexpr Money operator*(qint64 factor) const { return Money(m_raw * factor); }
    Money &operator+=(Money o) { m_raw += o.m_raw; return *this; }
    Money &operator-=(Money o) { m_raw -= o.m_raw; return *this; }

    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 raw) : m_raw(raw) {}
    qint64 m_raw = 0;
};
