#pragma once

#include <cmath>
#include <limits>

namespace tilemond {

// Rounds to the nearest whole number, ties to even (100.5 -> 100, 101.5 -> 102).
// Values beyond the range of int saturate; NaN gives 0.
inline int roundToEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value); // the default rounding mode is ties-to-even
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

} // namespace tilemond
