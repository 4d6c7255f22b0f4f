#include "pictures/wmf_record_parts.h"

#include <cstring>

namespace tilemond {
namespace {

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
        if (!U_WMREXTTEXTOUT_get(record.data(), &at, &length, &options, &string, &advances, &rect))
            return;
        if (options & U_ETO_OPAQUE)
            opaque = rectOf(rect);
    }
    const QByteArrayView text = restOf(record, string);
    if (length < 0 || text.size() < length)
        return;
    painter.drawText(QString::fromLatin1(text.first(length)), pointOf(at), opaque);
}

template <typename Get>
void drawArc(MetafilePainter& painter, const WmfRecord& record, Get get,
             MetafilePainter::ArcKind kind)
{
    U_POINT16 start;
    U_POINT16 end;
    U_RECT16 box;
    if (get(record.data(), &start, &end, &box))
        painter.drawArc(rectOf(box), pointOf(start), pointOf(end), kind);
}

} // namespace

bool playWmfShapeRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    const char* data = record.data();
    switch (type) {
    case U_WMR_MOVETO:
        if (const auto value = point(record, U_WMRMOVETO_get))
            painter.moveTo(*value);
        return true;
    case U_WMR_LINETO:
        if (const auto value = point(record, U_WMRLINETO_get))
            painter.lineTo(*value);
        return true;
    case U_WMR_RECTANGLE:
        if (const auto value = rect(record, U_WMRRECTANGLE_get)) {
            QPainterPath path;
            path.addRect(*value);
            painter.drawShape(path, true);
        }
        return true;
    case U_WMR_ROUNDRECT: {
        int16_t height = 0;
        int16_t width = 0;
        U_RECT16 box;
        if (U_WMRROUNDRECT_get(data, &height, &width, &box)) {
            QPainterPath path;
            path.addRoundedRect(rectOf(box), width / 2.0, height / 2.0);
            painter.drawShape(path, true);
        }
        return true;
    }
    case U_WMR_ELLIPSE:
        if (const auto value = rect(record, U_WMRELLIPSE_get)) {
            QPainterPath path;
            path.addEllipse(*value);
            painter.drawShape(path, true);
        }
        return true;
    case U_WMR_ARC:
        drawArc(painter, record, U_WMRARC_get, MetafilePainter::ArcKind::Open);
        return true;
    case U_WMR_PIE:
        drawArc(painter, record, U_WMRPIE_get, MetafilePainter::ArcKind::Pie);
        return true;
    case U_WMR_CHORD:
        drawArc(painter, record, U_WMRCHORD_get, MetafilePainter::ArcKind::Chord);
        return true;
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE: {
        uint16_t count = 0;
        const char* points = nullptr;
        const bool read = type == U_WMR_POLYGON ? U_WMRPOLYGON_get(data, &count, &points)
                                                : U_WMRPOLYLINE_get(data, &count, &points);
        if (!read)
            return true;
        const QPolygonF polygon = pointsOf(record, points, count);
        if (type == U_WMR_POLYGON) {
            painter.drawShape(polygonPath(polygon), true);
        } else {
            QPainterPath path;
            path.addPolygon(polygon);
            painter.drawLines(path);
        }
        return true;
    }
    case U_WMR_POLYPOLYGON:
        painter.drawShape(polyPolygonPath(record), true);
        return true;
    case U_WMR_SETPIXEL: {
        U_COLORREF value;
        U_POINT16 at;
        if (U_WMRSETPIXEL_get(data, &value, &at))
            painter.setPixel(pointOf(at), colorOf(value));
        return true;
    }
    default:
        return false;
    }
}

bool playWmfRegionRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    DeviceContext& dc = painter.dc();
    const char* data = record.data();
    switch (type) {
    case U_WMR_FILLREGION: {
        uint16_t region = 0;
        uint16_t brush = 0;
        if (!U_WMRFILLREGION_get(data, &region, &brush))
            return true;
        const MetafileObject* area = painter.object(region);
        const MetafileObject* fill = painter.object(brush);
        if (area && fill && std::holds_alternative<MetafileRegion>(*area) &&
            std::holds_alternative<QBrush>(*fill))
            painter.fillRegion(std::get<MetafileRegion>(*area), std::get<QBrush>(*fill));
        return true;
    }
    case U_WMR_PAINTREGION:
        if (const auto index = mode(record, U_WMRPAINTREGION_get))
            if (const MetafileObject* area = painter.object(*index))
                if (const auto* region = std::get_if<MetafileRegion>(area))
                    painter.fillRegion(*region, dc.brush);
        return true;
    default:
        return false;
    }
}

bool playWmfTextRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    switch (type) {
    case U_WMR_TEXTOUT:
    case U_WMR_EXTTEXTOUT:
        drawText(painter, record, type);
        return true;
    default:
        return false;
    }
}

} // namespace tilemond
