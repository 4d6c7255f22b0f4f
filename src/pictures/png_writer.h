#pragma once

#include <QByteArray>
#include <QImage>

namespace tilemond::host {

// The PNG file of a picture: the signature, IHDR, the picture's colour profile in iCCP when it has
// one, one IDAT and IEND. A picture held opaque (RGB32 or RGB888) is written as 8-bit RGB, one
// held with straight alpha (ARGB32) as 8-bit RGBA, an indexed one (Indexed8) with its palette in
// PLTE (and tRNS for see-through entries) at 1, 2, 4 or 8 bits per pixel as its number of colours
// needs; other formats are brought to RGB or RGBA first. Each row gets the filter whose output
// has the smallest sum of absolute differences, as libpng chooses. level is libdeflate's (1
// fastest .. 12 smallest). Empty when there is not the memory for it.
QByteArray writePng(const QImage& picture, int level);

} // namespace tilemond::host
