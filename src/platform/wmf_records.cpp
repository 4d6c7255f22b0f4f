#include "platform/wmf_records.h"

#include "platform/metafile_dib.h"

#include <QByteArrayView>
#include <algorithm>
#include <cstring>

extern "C" {
#include <uwmf.h>
}

namespace tilemond {
namespace {

QColor colorOf(const U_COLORREF& c)
{
    return QColor(c.Red, c.Green, c.Blue);
}

QPointF pointOf(const U_POINT16& p)
{
    return QPointF(p.x, p.y);
}

QSizeF sizeOf(const U_POINT16& p)
{
    return QSizeF(p.x, p.y);
}

QRectF rectOf(const U_RECT16& r)
{
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

// The bytes from `from` to the record's end; empty when `from` lies beyond it.
QByteArrayView restOf(const WmfRecord& record, const char* from)
{
    if (!from || from < record.data() || from > record.end())
        return {};
    return QByteArrayView(from, record.end() - from);
}

// `count` points stored as x, y pairs of 16 bits; none when they reach past the record.
QPolygonF pointsOf(const WmfRecord& record, const char* first, std::size_t count)
{
    const QByteArrayView bytes = restOf(record, first);
    if (count > std::size_t(bytes.size()) / sizeof(U_POINT16))
        return {};
    QPolygonF points;
    points.reserve(qsizetype(count));
    for (std::size_t i = 0; i < count; ++i) {
        U_POINT16 point;
        std::memcpy(&point, first + i * sizeof point, sizeof point);
        points << pointOf(point);
    }
    return points;
}

QPainterPath polygonPath(const QPolygonF& points)
{
    QPainterPath path;
    if (points.isEmpty())
        return path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

QPainterPath polyPolygonPath(const WmfRecord& record)
{
    uint16_t figures = 0;
    const uint16_t* counts = nullptr;
    const char* points = nullptr;
    if (!U_WMRPOLYPOLYGON_get(record.data(), &figures, &counts, &points) ||
        restOf(record, points).isNull())
        return {};
    QPainterPath path;
    for (uint16_t i = 0; i < figures; ++i) {
        uint16_t count;
        std::memcpy(&count, reinterpret_cast<const char*>(counts) + 2 * i, sizeof count);
        const QPolygonF figure = pointsOf(record, points, count);
        if (figure.isEmpty())
            break;
        path.addPath(polygonPath(figure));
        points += std::size_t(count) * sizeof(U_POINT16);
    }
    return path;
}

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
    const QImage pattern = bitmap ? bitmap16Of(record, bitmap)
                           : usage == U_DIB_RGB_COLORS ? decodePackedDib(restOf(record, dib)).image
                                                       : QImage();
    return pattern.isNull() ? QBrush(Qt::NoBrush) : QBrush(pattern);
}

void drawText(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    U_POINT16 at;
    int16_t length = 0;
    const char* string = nullptr;
    std::optional<QRectF> opaque;
    if (type == U_WMR_TEXTOUT) {
        // The length places the position after the string: it must fit before it is read.
        std::memcpy(&length, record.data() + offsetof(U_WMRTEXTOUT, Length), sizeof length);
        if (length < 0 || std::size_t(8 + (length + 1) / 2 * 2 + 4) > record.size() ||
            !U_WMRTEXTOUT_get(record.data(), &at, &length, &string))
            return;
    } else {
        uint16_t options = 0;
        const int16_t* advances = nullptr;
        U_RECT16 rect;
        if (!U_WMREXTTEXTOUT_get(record.data(), &at, &length, &options, &string, &advances,
                                 &rect))
            return;
        if (options & U_ETO_OPAQUE)
            opaque = rectOf(rect);
    }
    const QByteArrayView text = restOf(record, string);
    if (length < 0 || text.size() < length)
        return;
    painter.drawText(QString::fromLatin1(text.first(length)), pointOf(at), opaque);
}

template <typename Get> void drawArc(MetafilePainter& painter, const WmfRecord& record, Get get,
                                     MetafilePainter::ArcKind kind)
{
    U_POINT16 start;
    U_POINT16 end;
    U_RECT16 box;
    if (get(record.data(), &start, &end, &box))
        painter.drawArc(rectOf(box), pointOf(start), pointOf(end), kind);
}

// BitBlt and StretchBlt carry a Bitmap16 or nothing (a pattern blit); the DIB kinds a DIB.
void blit(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    U_POINT16 target;
    U_POINT16 targetSize;
    U_POINT16 source;
    U_POINT16 sourceSize;
    uint32_t rop = 0;
    U_BITMAP16 bitmap;
    const char* bits = nullptr;
    int read = 0;
    switch (type) {
    case U_WMR_BITBLT:
        read = U_WMRBITBLT_get(record.data(), &target, &targetSize, &source, &rop, &bitmap, &bits);
        sourceSize = targetSize;
        break;
    case U_WMR_STRETCHBLT:
        read = U_WMRSTRETCHBLT_get(record.data(), &target, &targetSize, &source, &sourceSize, &rop,
                                   &bitmap, &bits);
        break;
    case U_WMR_DIBBITBLT:
        read = U_WMRDIBBITBLT_get(record.data(), &target, &targetSize, &source, &rop, &bits);
        sourceSize = targetSize;
        break;
    case U_WMR_DIBSTRETCHBLT:
        read = U_WMRDIBSTRETCHBLT_get(record.data(), &target, &targetSize, &source, &sourceSize,
                                      &rop, &bits);
        break;
    default:
        return;
    }
    if (!read)
        return;
    const QRectF to(pointOf(target), sizeOf(targetSize));
    if (!bits) {
        painter.patternBlit(to, rop);
        return;
    }
    const bool dib = type == U_WMR_DIBBITBLT || type == U_WMR_DIBSTRETCHBLT;
    const QImage image = dib ? decodePackedDib(restOf(record, bits)).image
                             : decodeBitmap16(bitmap, restOf(record, bits));
    painter.drawBitmap(image, to, QRectF(pointOf(source), sizeOf(sourceSize)), rop);
}

// StretchDIB and SetDIBitsToDevice: a DIB with colours of its own, its source rectangle counted
// from the bottom row when the rows are stored bottom up.
void drawDibits(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    U_POINT16 target;
    U_POINT16 targetSize;
    U_POINT16 source;
    U_POINT16 sourceSize;
    uint16_t usage = 0;
    uint32_t rop = U_SRCCOPY;
    const char* dib = nullptr;
    if (type == U_WMR_STRETCHDIB) {
        if (!U_WMRSTRETCHDIB_get(record.data(), &target, &targetSize, &source, &sourceSize, &usage,
                                 &rop, &dib))
            return;
    } else {
        uint16_t scans = 0;
        uint16_t firstScan = 0;
        if (!U_WMRSETDIBTODEV_get(record.data(), &target, &targetSize, &source, &usage, &scans,
                                  &firstScan, &dib))
            return;
        sourceSize = targetSize;
    }
    if (usage != U_DIB_RGB_COLORS)
        return; // colours from a palette
    const Dib bitmap = decodePackedDib(restOf(record, dib));
    painter.drawDibits(bitmap.image, bitmap.bottomUp, QRectF(pointOf(target), sizeOf(targetSize)),
                       QRectF(pointOf(source), sizeOf(sourceSize)), rop);
}

// Window and viewport extents are scaled by numerator / denominator on each axis.
template <typename Get> void scaleExtent(const WmfRecord& record, Get get, QSizeF& extent)
{
    U_POINT16 denominator;
    U_POINT16 numerator;
    if (!get(record.data(), &denominator, &numerator) || denominator.x == 0 || denominator.y == 0)
        return;
    extent = QSizeF(extent.width() * numerator.x / denominator.x,
                    extent.height() * numerator.y / denominator.y);
}

template <typename Get> std::optional<QPointF> point(const WmfRecord& record, Get get)
{
    U_POINT16 value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return pointOf(value);
}

template <typename Get> std::optional<QRectF> rect(const WmfRecord& record, Get get)
{
    U_RECT16 value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return rectOf(value);
}

template <typename Get> std::optional<uint16_t> mode(const WmfRecord& record, Get get)
{
    uint16_t value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return value;
}

template <typename Get> std::optional<QColor> color(const WmfRecord& record, Get get)
{
    U_COLORREF value;
    if (!get(record.data(), &value))
        return std::nullopt;
    return colorOf(value);
}

} // namespace

WmfRecord::WmfRecord(const char* at, std::size_t size) : m_data(at), m_size(size)
{
    if (size < m_copy.size()) {
        std::memcpy(m_copy.data(), at, size);
        m_data = m_copy.data();
    }
}

uint16_t WmfRecord::function() const
{
    uint16_t function;
    std::memcpy(&function, m_data + offsetof(U_METARECORD, iType), sizeof function);
    return function;
}

void playWmfRecord(MetafilePainter& painter, const WmfRecord& record)
{
    DeviceContext& dc = painter.dc();
    const char* data = record.data();
    const auto type = uint8_t(record.function() & U_WMR_MASK);
    switch (type) {
    // The device context.
    case U_WMR_SETMAPMODE:
        if (const auto value = mode(record, U_WMRSETMAPMODE_get))
            dc.mapMode = *value;
        break;
    case U_WMR_SETWINDOWORG:
        if (const auto value = point(record, U_WMRSETWINDOWORG_get))
            dc.windowOrg = *value;
        break;
    case U_WMR_SETWINDOWEXT:
        if (const auto value = point(record, U_WMRSETWINDOWEXT_get))
            dc.windowExt = QSizeF(value->x(), value->y());
        break;
    case U_WMR_SETVIEWPORTORG:
        if (const auto value = point(record, U_WMRSETVIEWPORTORG_get))
            dc.viewportOrg = *value;
        break;
    case U_WMR_SETVIEWPORTEXT:
        if (const auto value = point(record, U_WMRSETVIEWPORTEXT_get))
            dc.viewportExt = QSizeF(value->x(), value->y());
        break;
    case U_WMR_OFFSETWINDOWORG:
        if (const auto value = point(record, U_WMROFFSETWINDOWORG_get))
            dc.windowOrg += *value;
        break;
    case U_WMR_OFFSETVIEWPORTORG:
        if (const auto value = point(record, U_WMROFFSETVIEWPORTORG_get))
            dc.viewportOrg += *value;
        break;
    case U_WMR_SCALEWINDOWEXT:
        scaleExtent(record, U_WMRSCALEWINDOWEXT_get, dc.windowExt);
        break;
    case U_WMR_SCALEVIEWPORTEXT:
        scaleExtent(record, U_WMRSCALEVIEWPORTEXT_get, dc.viewportExt);
        break;
    case U_WMR_SAVEDC:
        painter.saveDc();
        break;
    case U_WMR_RESTOREDC: {
        int16_t relative = 0;
        if (U_WMRRESTOREDC_get(data, &relative))
            painter.restoreDc(relative);
        break;
    }
    case U_WMR_SETTEXTCOLOR:
        if (const auto value = color(record, U_WMRSETTEXTCOLOR_get))
            dc.textColor = *value;
        break;
    case U_WMR_SETBKCOLOR:
        if (const auto value = color(record, U_WMRSETBKCOLOR_get))
            dc.backColor = *value;
        break;
    case U_WMR_SETBKMODE:
        if (const auto value = mode(record, U_WMRSETBKMODE_get))
            dc.opaqueBackground = *value == U_OPAQUE;
        break;
    case U_WMR_SETTEXTALIGN:
        if (const auto value = mode(record, U_WMRSETTEXTALIGN_get))
            dc.textAlign = *value;
        break;
    case U_WMR_SETPOLYFILLMODE:
        if (const auto value = mode(record, U_WMRSETPOLYFILLMODE_get))
            dc.fillRule = *value == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case U_WMR_SETROP2:
        if (const auto value = mode(record, U_WMRSETROP2_get))
            dc.rop2 = *value;
        break;

    // Clipping.
    case U_WMR_INTERSECTCLIPRECT:
        if (const auto value = rect(record, U_WMRINTERSECTCLIPRECT_get))
            painter.intersectClip(*value);
        break;
    case U_WMR_EXCLUDECLIPRECT:
        if (const auto value = rect(record, U_WMREXCLUDECLIPRECT_get))
            painter.excludeClip(*value);
        break;
    case U_WMR_OFFSETCLIPRGN:
        if (const auto value = point(record, U_WMROFFSETCLIPRGN_get))
            painter.offsetClip(*value);
        break;
    case U_WMR_SELECTCLIPREGION:
        // An empty slot stands for no region, which resets the clip.
        if (const auto index = mode(record, U_WMRSELECTCLIPREGION_get)) {
            const MetafileObject* object = painter.object(*index);
            if (!object || std::holds_alternative<std::monostate>(*object))
                painter.selectClip(nullptr, U_RGN_COPY);
            else if (const auto* region = std::get_if<MetafileRegion>(object))
                painter.selectClip(region, U_RGN_COPY);
        }
        break;

    // Objects: each takes the lowest free slot of the table.
    case U_WMR_CREATEPENINDIRECT: {
        U_PEN pen;
        if (U_WMRCREATEPENINDIRECT_get(data, &pen))
            painter.addObject(MetafilePen::simple(colorOf(pen.Color), pen.Style,
                                                  std::max<int16_t>(int16_t(pen.Widthw[0]), 0)));
        break;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
        const char* brush = nullptr;
        U_WLOGBRUSH logBrushBytes;
        if (U_WMRCREATEBRUSHINDIRECT_get(data, &brush) &&
            restOf(record, brush).size() >= U_SIZE_WLOGBRUSH) {
            std::memcpy(&logBrushBytes, brush, U_SIZE_WLOGBRUSH);
            painter.addObject(logBrush(logBrushBytes.Style, colorOf(logBrushBytes.Color),
                                       logBrushBytes.Hatch));
        }
        break;
    }
    case U_WMR_DIBCREATEPATTERNBRUSH:
        painter.addObject(patternBrush(record));
        break;
    case U_WMR_CREATEPATTERNBRUSH: {
        U_BITMAP16 bitmap;
        int bytes = 0;
        const char* pattern = nullptr;
        if (U_WMRCREATEPATTERNBRUSH_get(data, &bitmap, &bytes, &pattern)) {
            const QImage image = decodeBitmap16(bitmap, restOf(record, pattern));
            painter.addObject(image.isNull() ? QBrush(Qt::NoBrush) : QBrush(image));
        }
        break;
    }
    case U_WMR_CREATEFONTINDIRECT:
        painter.addObject(fontOf(record));
        break;
    case U_WMR_CREATEPALETTE:
        painter.addObject(MetafilePalette{});
        break;
    case U_WMR_CREATEREGION:
        painter.addObject(regionOf(record));
        break;
    case U_WMR_SELECTOBJECT:
        if (const auto index = mode(record, U_WMRSELECTOBJECT_get))
            painter.selectObject(*index);
        break;
    case U_WMR_DELETEOBJECT:
        if (const auto index = mode(record, U_WMRDELETEOBJECT_get))
            painter.deleteObject(*index);
        break;

    // Lines and shapes.
    case U_WMR_MOVETO:
        if (const auto value = point(record, U_WMRMOVETO_get))
            painter.moveTo(*value);
        break;
    case U_WMR_LINETO:
        if (const auto value = point(record, U_WMRLINETO_get))
            painter.lineTo(*value);
        break;
    case U_WMR_RECTANGLE:
        if (const auto value = rect(record, U_WMRRECTANGLE_get)) {
            QPainterPath path;
            path.addRect(*value);
            painter.drawShape(path, true);
        }
        break;
    case U_WMR_ROUNDRECT: {
        int16_t height = 0;
        int16_t width = 0;
        U_RECT16 box;
        if (U_WMRROUNDRECT_get(data, &height, &width, &box)) {
            QPainterPath path;
            path.addRoundedRect(rectOf(box), width / 2.0, height / 2.0);
            painter.drawShape(path, true);
        }
        break;
    }
    case U_WMR_ELLIPSE:
        if (const auto value = rect(record, U_WMRELLIPSE_get)) {
            QPainterPath path;
            path.addEllipse(*value);
            painter.drawShape(path, true);
        }
        break;
    case U_WMR_ARC:
        drawArc(painter, record, U_WMRARC_get, MetafilePainter::ArcKind::Open);
        break;
    case U_WMR_PIE:
        drawArc(painter, record, U_WMRPIE_get, MetafilePainter::ArcKind::Pie);
        break;
    case U_WMR_CHORD:
        drawArc(painter, record, U_WMRCHORD_get, MetafilePainter::ArcKind::Chord);
        break;
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE: {
        uint16_t count = 0;
        const char* points = nullptr;
        const bool read = type == U_WMR_POLYGON ? U_WMRPOLYGON_get(data, &count, &points)
                                                : U_WMRPOLYLINE_get(data, &count, &points);
        if (!read)
            break;
        const QPolygonF polygon = pointsOf(record, points, count);
        if (type == U_WMR_POLYGON) {
            painter.drawShape(polygonPath(polygon), true);
        } else {
            QPainterPath path;
            path.addPolygon(polygon);
            painter.drawLines(path);
        }
        break;
    }
    case U_WMR_POLYPOLYGON:
        painter.drawShape(polyPolygonPath(record), true);
        break;
    case U_WMR_SETPIXEL: {
        U_COLORREF value;
        U_POINT16 at;
        if (U_WMRSETPIXEL_get(data, &value, &at))
            painter.setPixel(pointOf(at), colorOf(value));
        break;
    }

    // Regions.
    case U_WMR_FILLREGION: {
        uint16_t region = 0;
        uint16_t brush = 0;
        if (!U_WMRFILLREGION_get(data, &region, &brush))
            break;
        const MetafileObject* area = painter.object(region);
        const MetafileObject* fill = painter.object(brush);
        if (area && fill && std::holds_alternative<MetafileRegion>(*area) &&
            std::holds_alternative<QBrush>(*fill))
            painter.fillRegion(std::get<MetafileRegion>(*area), std::get<QBrush>(*fill));
        break;
    }
    case U_WMR_PAINTREGION:
        if (const auto index = mode(record, U_WMRPAINTREGION_get))
            if (const MetafileObject* area = painter.object(*index))
                if (const auto* region = std::get_if<MetafileRegion>(area))
                    painter.fillRegion(*region, dc.brush);
        break;

    // Bitmaps.
    case U_WMR_BITBLT:
    case U_WMR_STRETCHBLT:
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT:
        blit(painter, record, type);
        break;
    case U_WMR_STRETCHDIB:
    case U_WMR_SETDIBTODEV:
        drawDibits(painter, record, type);
        break;
    case U_WMR_PATBLT: {
        U_POINT16 target;
        U_POINT16 size;
        uint32_t rop = 0;
        if (U_WMRPATBLT_get(data, &target, &size, &rop))
            painter.patternBlit(QRectF(pointOf(target), sizeOf(size)), rop);
        break;
    }

    case U_WMR_TEXTOUT:
    case U_WMR_EXTTEXTOUT:
        drawText(painter, record, type);
        break;
    default: // escapes and the records that change nothing drawn here
        break;
    }
}

} // namespace tilemond
