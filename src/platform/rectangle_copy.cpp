#include "platform/rectangle_copy.h"

#include <algorithm>
#include <cstring>

namespace tilemond {
namespace {

// One axis of the copy after clipping: where it starts on each image and how long it is.
struct Span
{
    qint64 target;
    qint64 source;
    qint64 length;
};

// 64-bit, so that positions near the ends of the int range cannot overflow.
Span clip(qint64 target, qint64 source, qint64 length, qint64 targetExtent, qint64 sourceExtent)
{
    const qint64 skip = std::max({qint64(0), -target, -source});
    target += skip;
    source += skip;
    length = std::min({length - skip, targetExtent - target, sourceExtent - source});
    return {target, source, std::max(length, qint64(0))};
}

} // namespace

bool copyRectangle(QImage& destination, int x, int y, int width, int height, const QImage& source,
                   int sourceX, int sourceY)
{
    if (destination.isNull() || source.isNull())
        return false;
    const Span across = clip(x, sourceX, width, destination.width(), source.width());
    const Span down = clip(y, sourceY, height, destination.height(), source.height());
    if (across.length == 0 || down.length == 0)
        return false;
    const QRect from(int(across.source), int(down.source), int(across.length), int(down.length));
    // A piece that covers the whole destination replaces it; the whole source is then shared.
    if (across.length == destination.width() && down.length == destination.height()) {
        destination = from == source.rect() ? source : source.copy(from);
        return true;
    }
    // Every bit of a pixel is copied, its alpha too: a destination without alpha gets it (its
    // own pixels stay opaque), so that a see-through pixel arrives see-through.
    const bool gainsAlpha = source.hasAlphaChannel() && !destination.hasAlphaChannel();
    if (gainsAlpha || destination.depth() != 32)
        destination.convertTo(source.hasAlphaChannel() ? QImage::Format_ARGB32
                                                       : QImage::Format_RGB32);
    // A copy of the piece first, so that a surface can be copied onto itself.
    const QImage piece = source.copy(from).convertToFormat(destination.format());
    const qsizetype lineBytes = qsizetype(across.length) * 4;
    const qsizetype offset = qsizetype(across.target) * 4;
    for (int row = 0; row < piece.height(); ++row)
        std::memcpy(destination.scanLine(int(down.target) + row) + offset, piece.constScanLine(row),
                    lineBytes);
    return true;
}

} // namespace tilemond
