#pragma once

#include <vector>

namespace tilemond {

// Cut positions in pixels, rounded to whole pixels (ties to even: 100.5 -> 100, 101.5 -> 102) and
// in ascending order, duplicates kept.
std::vector<int> SortCuts(const std::vector<float>& positions);

} // namespace tilemond
