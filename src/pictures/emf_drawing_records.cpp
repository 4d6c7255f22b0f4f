#include "pictures/emf_record_parts.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tilemond {
namespace {

// The count points at first; none when the count reaches past the record (a damaged file),
// so that a count of billions never asks for memory.
template <typename Point> QPolygonF polygonOf(const char* record, const char* first, uint32_t count)
{
    const char* end = record + as<U_EMR>(record).nSize;
    if (first > end || count > std::size_t(end - first) / sizeof(Point))
        return {};
    QPolygonF polygon;
    polygon.reserve(count);
    const auto* points = reinterpret_cast<const Point*>(first);
    for (uint32_t i = 0; i < count; ++i)
        polygon << QPointF(points[i].x, points[i].y);
    return polygon;
}

// The points of a POLYLINE, POLYGON, POLYBEZIER ... record, 32-bit or 16-bit.
QPolygonF pointsOf(const char* record, bool shortPoints)
{
    if (shortPoints)
        return polygonOf<U_POINT16>(record, record + offsetof(U_EMRPOLYLINE16, apts),
                                    as<U_EMRPOLYLINE16>(record).cpts);
    return polygonOf<U_POINTL>(record, record + offsetof(U_EMRPOLYLINE, aptl),
                               as<U_EMRPOLYLINE>(record).cptl);
}

// The figures of a POLYPOLYLINE or POLYPOLYGON record; the counts never reach past the
// points that the record holds.
std::vector<QPolygonF> figuresOf(const char* record, bool shortPoints)
{
    const auto& header = as<U_EMRPOLYPOLYLINE>(record);
    const char* counts = record + offsetof(U_EMRPOLYPOLYLINE, aPolyCounts);
    if (header.nPolys > (header.emr.nSize - offsetof(U_EMRPOLYPOLYLINE, aPolyCounts)) / 4)
        return {}; // more figures than the record has bytes: damaged
    const char* points = counts + sizeof(uint32_t) * header.nPolys;
    const QPolygonF all = shortPoints ? polygonOf<U_POINT16>(record, points, header.cptl)
                                      : polygonOf<U_POINTL>(record, points, header.cptl);
    std::vector<QPolygonF> figures;
    qsizetype used = 0;
    for (uint32_t i = 0; i < header.nPolys; ++i) {
        uint32_t count;
        std::memcpy(&count, counts + sizeof(uint32_t) * i, sizeof count);
        const qsizetype take = std::min<qsizetype>(count, all.size() - used);
        figures.push_back(all.mid(used, take));
        used += take;
    }
    return figures;
}

QPainterPath figurePath(const std::vector<QPolygonF>& figures, bool closed)
{
    QPainterPath path;
    for (const QPolygonF& figure : figures) {
        if (figure.isEmpty())
            continue;
        path.addPolygon(figure);
        if (closed)
            path.closeSubpath();
    }
    return path;
}

QPainterPath bezierPath(const QPolygonF& points)
{
    QPainterPath path;
    if (points.isEmpty())
        return path;
    path.moveTo(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    return path;
}

// The rectangles of a region that a record carries; none when they reach past it.
MetafileRegion regionOf(const char* region, const U_RGNDATA& header, uint32_t regionBytes)
{
    const uint64_t needed = sizeof(U_RGNDATAHEADER) + uint64_t(header.rdh.nCount) * sizeof(U_RECTL);
    if (needed > regionBytes)
        return {};
    MetafileRegion rects;
    const char* data = region + sizeof(U_RGNDATAHEADER);
    for (uint32_t i = 0; i < header.rdh.nCount; ++i) {
        U_RECTL rect;
        std::memcpy(&rect, data + i * sizeof(U_RECTL), sizeof rect);
        rects.push_back(rectOf(rect));
    }
    return rects;
}

void drawText(MetafilePainter& painter, const U_EMREXTTEXTOUTW& record)
{
    const char* base = reinterpret_cast<const char*>(&record);
    const U_EMRTEXT& text = record.emrtext;
    if (uint64_t(text.offString) + uint64_t(text.nChars) * 2 > record.emr.nSize)
        return;
    QString string(qsizetype(text.nChars), Qt::Uninitialized);
    std::memcpy(string.data(), base + text.offString, size_t(text.nChars) * 2);
    std::optional<QRectF> opaque;
    if (!(text.fOptions & U_ETO_NO_RECT) && (text.fOptions & U_ETO_OPAQUE)) {
        U_RECTL rect;
        std::memcpy(&rect, base + offsetof(U_EMREXTTEXTOUTW, emrtext) + sizeof(U_EMRTEXT),
                    sizeof rect);
        opaque = rectOf(rect);
    }
    painter.drawText(string, pointOf(text.ptlReference), opaque);
}

void drawArc(MetafilePainter& painter, const char* record, MetafilePainter::ArcKind kind)
{
    const auto& arc = as<U_EMRARC>(record);
    painter.drawArc(rectOf(arc.rclBox), pointOf(arc.ptlStart), pointOf(arc.ptlEnd), kind);
}

} // namespace

bool playEmfShapeRecord(MetafilePainter& painter, const char* record, uint32_t type)
{
    switch (type) {
    case U_EMR_MOVETOEX:
        painter.moveTo(pointOf(as<U_EMRMOVETOEX>(record).ptl));
        return true;
    case U_EMR_LINETO:
        painter.lineTo(pointOf(as<U_EMRLINETO>(record).ptl));
        return true;
    case U_EMR_RECTANGLE: {
        QPainterPath path;
        path.addRect(rectOf(as<U_EMRRECTANGLE>(record).rclBox));
        painter.drawShape(path, true);
        return true;
    }
    case U_EMR_ROUNDRECT: {
        const auto& round = as<U_EMRROUNDRECT>(record);
        QPainterPath path;
        path.addRoundedRect(rectOf(round.rclBox), round.szlCorner.cx / 2.0,
                            round.szlCorner.cy / 2.0);
        painter.drawShape(path, true);
        return true;
    }
    case U_EMR_ELLIPSE: {
        QPainterPath path;
        path.addEllipse(rectOf(as<U_EMRELLIPSE>(record).rclBox));
        painter.drawShape(path, true);
        return true;
    }
    case U_EMR_ARC:
        drawArc(painter, record, MetafilePainter::ArcKind::Open);
        return true;
    case U_EMR_CHORD:
        drawArc(painter, record, MetafilePainter::ArcKind::Chord);
        return true;
    case U_EMR_PIE:
        drawArc(painter, record, MetafilePainter::ArcKind::Pie);
        return true;
    case U_EMR_ARCTO: {
        const auto& arc = as<U_EMRARCTO>(record);
        painter.arcTo(rectOf(arc.rclBox), pointOf(arc.ptlStart), pointOf(arc.ptlEnd));
        return true;
    }
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16: {
        QPainterPath path;
        path.addPolygon(pointsOf(record, type == U_EMR_POLYGON16));
        path.closeSubpath();
        painter.drawShape(path, true);
        return true;
    }
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16: {
        QPainterPath path;
        path.addPolygon(pointsOf(record, type == U_EMR_POLYLINE16));
        painter.drawLines(path);
        return true;
    }
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16:
        painter.drawLines(bezierPath(pointsOf(record, type == U_EMR_POLYBEZIER16)));
        return true;
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16:
        painter.polyTo(pointsOf(record, type == U_EMR_POLYLINETO16), false);
        return true;
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16:
        painter.polyTo(pointsOf(record, type == U_EMR_POLYBEZIERTO16), true);
        return true;
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYGON16:
        painter.drawShape(figurePath(figuresOf(record, type == U_EMR_POLYPOLYGON16), true), true);
        return true;
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYLINE16:
        painter.drawLines(figurePath(figuresOf(record, type == U_EMR_POLYPOLYLINE16), false));
        return true;
    case U_EMR_SETPIXELV: {
        const auto& pixel = as<U_EMRSETPIXELV>(record);
        painter.setPixel(pointOf(pixel.ptlPixel), colorOf(pixel.crColor));
        return true;
    }
    default:
        return false;
    }
}

bool playEmfPathRecord(MetafilePainter& painter, const char* record, uint32_t type)
{
    DeviceContext& dc = painter.dc();
    switch (type) {
    case U_EMR_BEGINPATH:
        painter.beginPath();
        return true;
    case U_EMR_ENDPATH:
        painter.endPath();
        return true;
    case U_EMR_CLOSEFIGURE:
        painter.closeFigure();
        return true;
    case U_EMR_ABORTPATH:
        painter.abortPath();
        return true;
    case U_EMR_FILLPATH:
        painter.drawPath(true, false);
        return true;
    case U_EMR_STROKEPATH:
        painter.drawPath(false, true);
        return true;
    case U_EMR_STROKEANDFILLPATH:
        painter.drawPath(true, true);
        return true;

    case U_EMR_FILLRGN: {
        const auto& fill = as<U_EMRFILLRGN>(record);
        if (const MetafileObject* object = painter.object(fill.ihBrush))
            if (const auto* brush = std::get_if<QBrush>(object))
                painter.fillRegion(regionOf(record + offsetof(U_EMRFILLRGN, RgnData),
                                            fill.RgnData[0], fill.cbRgnData),
                                   *brush);
        return true;
    }
    case U_EMR_PAINTRGN: {
        const auto& paint = as<U_EMRPAINTRGN>(record);
        painter.fillRegion(
            regionOf(record + offsetof(U_EMRPAINTRGN, RgnData), paint.RgnData[0], paint.cbRgnData),
            dc.brush);
        return true;
    }
    default:
        return false;
    }
}

bool playEmfTextRecord(MetafilePainter& painter, const char* record, uint32_t type)
{
    switch (type) {
    case U_EMR_EXTTEXTOUTW:
        drawText(painter, as<U_EMREXTTEXTOUTW>(record));
        return true;
    default:
        return false;
    }
}

} // namespace tilemond
