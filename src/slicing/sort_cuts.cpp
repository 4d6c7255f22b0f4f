#include "slicing/sort_cuts.h"

#include "platform/rounding.h"

#include <algorithm>

namespace tilemond {
namespace {

// A counting sort covers the positions of every picture the window system can show.
constexpr int CountedPositions = 32768;

} // namespace

std::vector<int> SortCuts(const std::vector<float>& positions)
{
    std::vector<int> counts(CountedPositions, 0);
    // Positions beyond the counted range (a cut below a picture of the largest size) are few;
    // they are sorted on their own and put before or after the counted ones.
    std::vector<int> below;
    std::vector<int> above;
    for (const float position : positions) {
        const int p = roundToEven(position);
        if (p < 0)
            below.push_back(p);
        else if (p >= CountedPositions)
            above.push_back(p);
        else
            ++counts[p];
    }
    std::sort(below.begin(), below.end());
    std::sort(above.begin(), above.end());

    std::vector<int> sorted = std::move(below);
    sorted.reserve(positions.size());
    for (int p = 0; p < CountedPositions; ++p)
        sorted.insert(sorted.end(), counts[p], p);
    sorted.insert(sorted.end(), above.begin(), above.end());
    return sorted;
}

} // namespace tilemond
