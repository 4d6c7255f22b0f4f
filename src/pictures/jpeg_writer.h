#pragma once

#include <QByteArray>
#include <QImage>

namespace tilemond::host {

// The JPEG file of an opaque picture through libjpeg-turbo, at quality 1 to 100: colour kept at
// full resolution (4:4:4) from quality 90 up, halved both ways (4:2:0) below; Huffman tables of
// the picture's own, and progressive where that is smaller. The picture's colour profile goes
// into APP2. Empty when libjpeg-turbo fails (it runs out of memory).
QByteArray writeJpeg(const QImage& picture, int quality);

} // namespace tilemond::host
