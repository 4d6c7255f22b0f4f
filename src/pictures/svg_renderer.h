#pragma once

#include "pictures/picture_file.h"

#include <QByteArray>

namespace tilemond {

// Whether the bytes look like an SVG drawing: XML whose start holds an svg element.
bool looksLikeSvg(const QByteArray& data);

// Renders an SVG drawing through librsvg (masks, filters, CSS and text as a browser draws them)
// as a browser draws an SVG picture of a page: at its own size (the root's width and height at 96
// pixels an inch, else the 300 x 150 a browser gives a drawing without one, fitted to its
// viewBox's shape), or at the size `shown` makes of that, the drawing kept in shape and centred.
// Like a browser it loads nothing outside the file: no image, style sheet, XInclude or entity of
// another file or address, only data: addresses.
LoadedPicture renderSvg(const QByteArray& data, const QString& file, const ShownSize& shown);

} // namespace tilemond
