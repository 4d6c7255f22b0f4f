#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace tilemond {

// The drawing ":/art/<name>.svg" rendered onto a transparent pixmap of exactly `size` pixels.
// An unknown name (or an empty size) gives a null pixmap.
QPixmap artwork(const QString& name, QSize size);

} // namespace tilemond
