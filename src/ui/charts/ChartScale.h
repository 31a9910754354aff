#pragma once

#include <QVector>

// Round steps for a value axis (1, 2, 2.5 or 5 times a power of ten), so an axis reads
// 0 / 500 / 1.000 / 1.500 € rather than 0 / 437,5 / 875 €.
namespace ChartScale {

// Tick values from at most `low` to at least `high`, zero among them, with at most about
// `maxTicks` steps. An empty range gives 0 to 100.
QVector<double> ticks(double low, double high, int maxTicks = 8);

} // namespace ChartScale
