#pragma once

#include <cstdint>

namespace tilemond {

// The PNG Paeth predictor: the neighbour nearest to left + above - aboveLeft; ties go to left,
// then above. In 16 bits and without branches, so that a row's loop runs on the widest vectors.
inline std::int16_t paeth(std::int16_t left, std::int16_t above, std::int16_t aboveLeft)
{
    const auto distance = [](int difference) {
        return std::int16_t(difference < 0 ? -difference : difference);
    };
    const std::int16_t toLeft = distance(above - aboveLeft);
    const std::int16_t toAbove = distance(left - aboveLeft);
    const std::int16_t toAboveLeft = distance(left + above - 2 * aboveLeft);
    const std::int16_t aboveOrAboveLeft = toAbove <= toAboveLeft ? above : aboveLeft;
    return (toLeft <= toAbove) & (toLeft <= toAboveLeft) ? left : aboveOrAboveLeft;
}

} // namespace tilemond
