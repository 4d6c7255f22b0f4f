#pragma once

#include "platform/picture_file.h"

#include <QByteArray>

namespace tilemond {

// Whether the bytes look like an SVG drawing: XML whose start holds an svg element.
bool looksLikeSvg(const QByteArray& data);

// Renders an SVG drawing through Qt Svg as a browser draws an SVG picture of a page: at its own
// size (the root's width and height at 96 pixels an inch, else the 300 x 150 a browser gives a
// drawing without one, fitted to its viewBox's shape), or at the size `shown` makes of that,
// the drawing kept in shape and centred. Like a browser it loads nothing outside the file:
// image elements that name another file and style sheets named in processing instructions are
// left out (Qt Svg would read them, even from a FIFO that never ends).
LoadedPicture renderSvg(const QByteArray& data, const QString& file, const ShownSize& shown);

} // namespace tilemond
