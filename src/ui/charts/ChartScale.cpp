#include "ui/charts/ChartScale.h"

#include <cmath>

namespace ChartScale {

QVector<double> ticks(double low, double high, int maxTicks)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (!std::isfinite(low) || !std::isfinite(high) || high - low < 1e-9) {
        low = 0;
        high = 100;
    }
    maxTicks = std::max(maxTicks, 2);
    const double rough = (high - low) / maxTicks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double f : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (power * f >= rough) {
            step = power * f;
            break;
        }
    }
    const long long first = static_cast<long long>(std::floor(low / step + 1e-9));
    const long long last = static_cast<long long>(std::ceil(high / step - 1e-9));
    QVector<double> result;
    for (long long i = first; i <= last; ++i)
        result.append(i * step);
    return result;
}

} // namespace ChartScale
