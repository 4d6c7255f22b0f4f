#include "pictures/wmf_record_parts.h"

#include "pictures/metafile_dib.h"

#include <algorithm>
#include <cstring>

namespace tilemond {
namespace {

// The rectangles of a region object: scans of a top, a bottom and pairs of left and right.
MetafileRegion regionOf(const WmfRecord& record)
{
    const char* region = nullptr;
    if (!U_WMRCREATEREGION_get(record.data(), &region) || restOf(record, region).isNull())
        return {};
    int16_t scans;
    std::memcpy(&scans, region + offsetof(U_REGION, sCount), sizeof scans);
    MetafileRegion rects;
    const char* scan = region + U_SIZE_REGION;
    for (int i = 0; i < scans; ++i) {
        uint16_t header[3]; // count of left and right values, top, bottom
        if (restOf(record, scan).size() < qsizetype(sizeof header))
            break;
        std::memcpy(header, scan, sizeof header);
        const std::size_t pairs = header[0] / 2;
        // Each pair of sides reads as a point: x the left, y the right.
        const QPolygonF sides = pointsOf(record, scan + sizeof header, pairs);
        if (sides.size() != qsizetype(pairs))
            break;
        for (const QPointF& side : sides)
            rects.emplace_back(QPointF(side.x(), int16_t(header[1])),
                               QPointF(side.y(), int16_t(header[2])));
        scan += sizeof header + std::size_t(header[0]) * 2 + 2; // and the count again
    }
    return rects;
}

MetafileFont fontOf(const WmfRecord& record)
{
    const char* logFont = nullptr;
    MetafileFont font;
    if (!U_WMRCREATEFONTINDIRECT_get(record.data(), &logFont) ||
        restOf(record, logFont).size() < U_SIZE_FONT_CORE)
        return font;
    int16_t value;
    std::memcpy(&value, logFont + offsetof(U_FONT, Height), sizeof value);
    font.height = value;
    std::memcpy(&value, logFont + offsetof(U_FONT, Escapement), sizeof value);
    font.escapement = value;
    std::memcpy(&value, logFont + offsetof(U_FONT, Weight), sizeof value);
    font.weight = value;
    font.italic = logFont[offsetof(U_FONT, Italic)];
    font.underline = logFont[offsetof(U_FONT, Underline)];
    font.strikeOut = logFont[offsetof(U_FONT, StrikeOut)];
    const QByteArrayView rest = restOf(record, logFont + U_SIZE_FONT_CORE);
    QByteArrayView name = rest.first(std::min<qsizetype>(rest.size(), U_LF_FACESIZE));
    if (const qsizetype nul = name.indexOf('\0'); nul >= 0)
        name = name.first(nul);
    if (!name.isEmpty())
        font.face = QString::fromLatin1(name);
    return font;
}

// A Bitmap16 that a record carries: its 10-byte header, then its bits.
QImage bitmap16Of(const WmfRecord& record, const char* bitmap)
{
    const QByteArrayView bytes = restOf(record, bitmap);
    if (bytes.size() < U_SIZE_BITMAP16)
        return {};
    U_BITMAP16 header;
    std::memcpy(&header, bitmap, U_SIZE_BITMAP16);
    return decodeBitmap16(header, bytes.sliced(U_SIZE_BITMAP16));
}

QBrush patternBrush(const WmfRecord& record)
{
    uint16_t style = 0;
    uint16_t usage = 0;
    const char* bitmap = nullptr;
    const char* dib = nullptr;
    if (!U_WMRDIBCREATEPATTERNBRUSH_get(record.data(), &style, &usage, &bitmap, &dib))
        return Qt::NoBrush;
    const QImage pattern = bitmap                      ? bitmap16Of(record, bitmap)
                           : usage == U_DIB_RGB_COLORS ? decodePackedDib(restOf(record, dib)).image
                                                       : QImage();
    return pattern.isNull() ? QBrush(Qt::NoBrush) : QBrush(pattern);
}

} // namespace

bool playWmfObjectRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    const char* data = record.data();
    switch (type) {
    case U_WMR_CREATEPENINDIRECT: {
        U_PEN pen;
        if (U_WMRCREATEPENINDIRECT_get(data, &pen))
            painter.addObject(MetafilePen::simple(colorOf(pen.Color), pen.Style,
                                                  std::max<int16_t>(int16_t(pen.Widthw[0]), 0)));
        return true;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
        const char* brush = nullptr;
        U_WLOGBRUSH logBrushBytes;
        if (U_WMRCREATEBRUSHINDIRECT_get(data, &brush) &&
            restOf(record, brush).size() >= U_SIZE_WLOGBRUSH) {
            std::memcpy(&logBrushBytes, brush, U_SIZE_WLOGBRUSH);
            painter.addObject(
                logBrush(logBrushBytes.Style, colorOf(logBrushBytes.Color), logBrushBytes.Hatch));
        }
        return true;
    }
    case U_WMR_DIBCREATEPATTERNBRUSH:
        painter.addObject(patternBrush(record));
        return true;
    case U_WMR_CREATEPATTERNBRUSH: {
        U_BITMAP16 bitmap;
        int bytes = 0;
        const char* pattern = nullptr;
        if (U_WMRCREATEPATTERNBRUSH_get(data, &bitmap, &bytes, &pattern)) {
            const QImage image = decodeBitmap16(bitmap, restOf(record, pattern));
            painter.addObject(image.isNull() ? QBrush(Qt::NoBrush) : QBrush(image));
        }
        return true;
    }
    case U_WMR_CREATEFONTINDIRECT:
        painter.addObject(fontOf(record));
        return true;
    case U_WMR_CREATEPALETTE:
        painter.addObject(MetafilePalette{});
        return true;
    case U_WMR_CREATEREGION:
        painter.addObject(regionOf(record));
        return true;
    case U_WMR_SELECTOBJECT:
        if (const auto index = mode(record, U_WMRSELECTOBJECT_get))
            painter.selectObject(*index);
        return true;
    case U_WMR_DELETEOBJECT:
        if (const auto index = mode(record, U_WMRDELETEOBJECT_get))
            painter.deleteObject(*index);
        return true;
    default:
        return false;
    }
}

} // namespace tilemond
