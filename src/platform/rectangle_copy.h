#pragma once

#include <QImage>

namespace tilemond {

// Copies the width x height rectangle of `source` whose top-left corner is (sourceX, sourceY)
// onto `destination` at (x, y), replacing the destination pixels (a plain copy, SRCCOPY).
// Parts lying outside either image are left out; an empty or negative size copies nothing.
// Returns whether any pixel was copied.
bool copyRectangle(QImage& destination, int x, int y, int width, int height, const QImage& source,
                   int sourceX, int sourceY);

} // namespace tilemond
