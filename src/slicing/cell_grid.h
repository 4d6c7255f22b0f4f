#pragma once

#include <QRect>
#include <QSize>
#include <vector>

namespace tilemond {

// The cells of a picture cut along vertical cuts at XCuts and horizontal cuts at YCuts (whole
// pixels, ascending): one row more than there are y cuts, one column more than there are x cuts,
// rows from the top, each row's cells from the left. The first row and column start at 0; the
// last ones reach the picture's right and bottom edges. Cuts beyond an edge are taken at that
// edge, so a cell may be empty but never has a negative size.
using CellRow = std::vector<QRect>;
std::vector<CellRow> cellGrid(const std::vector<int>& XCuts, const std::vector<int>& YCuts,
                              QSize picture);

} // namespace tilemond
