#include "core/DecimalText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// Shortest round-trip digits and decimal exponent: value = 0.d1d2d3… × 10^exponent.
void shortestDigits(double value, std::string &digits, int &exponent)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string mantissa = s.substr(0, e);
    const int exp10 = std::stoi(s.substr(e + 1));
    digits.clear();
    for (char c : mantissa)
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    exponent = exp10 + 1;
}

} // namespace

DecimalText DecimalText::fromDouble(double value, int decimals, Rounding rounding)
{
    DecimalText out;
    if (decimals < 0)
        decimals = 0;
    if (!std::isfinite(value))
        value = 0.0;
    out.negative = std::signbit(value);
    value = std::fabs(value);

    std::string digits;
    int exponent = 0;
    if (value == 0.0) {
        digits = "0";
        exponent = 1;
    } else {
        shortestDigits(value, digits, exponent);
    }

    // Lay the digits out as integer part and fraction part.
    std::string intPart, fracPart;
    if (exponent <= 0) {
        intPart = "0";
        fracPart = std::string(static_cast<size_t>(-exponent), '0') + digits;
    } else if (static_cast<size_t>(exponent) >= digits.size()) {
        intPart = digits + std::string(static_cast<size_t>(exponent) - digits.size(), '0');
    } else {
        intPart = digits.substr(0, static_cast<size_t>(exponent));
        fracPart = digits.substr(static_cast<size_t>(exponent));
    }

    bool roundUp = false;
    if (fracPart.size() > static_cast<size_t>(decimals)) {
        const char next = fracPart[static_cast<size_t>(decimals)];
        const std::string rest = fracPart.substr(static_cast<size_t>(decimals) + 1);
        const bool restNonZero = rest.find_first_not_of('0') != std::string::npos;
        if (next > '5' || (next == '5' && restNonZero)) {
            roundUp = true;
        } else if (next == '5') {
            if (rounding == Rounding::HalfAwayFromZero) {
                roundUp = true;
            } else {
                const char last = decimals > 0 ? fracPart[static_cast<size_t>(decimals) - 1]
                                               : intPart.back();
                roundUp = ((last - '0') % 2) == 1;
            }
        }
        fracPart.resize(static_cast<size_t>(decimals));
    } else {
        fracPart.append(static_cast<size_t>(decimals) - fracPart.size(), '0');
    }

    if (roundUp) {
        std::string all = intPart + fracPart;
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0) {
            if (all[static_cast<size_t>(i)] == '9') {
                all[static_cast<size_t>(i)] = '0';
                --i;
            } else {
                ++all[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0)
            all.insert(all.begin(), '1');
        intPart = all.substr(0, all.size() - fracPart.size());
        fracPart = all.substr(all.size() - fracPart.size());
    }

    const auto firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);

    out.integerDigits = QString::fromStdString(intPart);
    out.fractionDigits = QString::fromStdString(fracPart);
    if (out.isZero())
        out.negative = false;
    return out;
}

bool DecimalText::isZero() const
{
    auto allZero = [](const QString &s) {
        for (QChar c : s)
            if (c != u'0')
                return false;
        return true;
    };
    return allZero(integerDigits) && allZero(fractionDigits);
}
