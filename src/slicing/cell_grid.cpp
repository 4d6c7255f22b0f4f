#include "slicing/cell_grid.h"

#include <algorithm>

namespace tilemond {
namespace {

// 0, each cut within 0 .. extent, then extent.
std::vector<int> edges(const std::vector<int>& cuts, int extent)
{
    extent = std::max(extent, 0);
    std::vector<int> result{0};
    for (const int cut : cuts)
        result.push_back(std::clamp(cut, 0, extent));
    result.push_back(extent);
    return result;
}

} // namespace

std::vector<CellRow> cellGrid(const std::vector<int>& XCuts, const std::vector<int>& YCuts,
                              QSize picture)
{
    const std::vector<int> columns = edges(XCuts, picture.width());
    const std::vector<int> rows = edges(YCuts, picture.height());
    std::vector<CellRow> grid;
    grid.reserve(rows.size() - 1);
    for (size_t r = 1; r < rows.size(); ++r) {
        CellRow& row = grid.emplace_back();
        row.reserve(columns.size() - 1);
        for (size_t c = 1; c < columns.size(); ++c)
            row.emplace_back(columns[c - 1], rows[r - 1], columns[c] - columns[c - 1],
                             rows[r] - rows[r - 1]);
    }
    return grid;
}

} // namespace tilemond
