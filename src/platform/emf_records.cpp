#include "platform/emf_records.h"

#include "platform/metafile_dib.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tilemond {
namespace {

template <typename T> const T& as(const char* record)
{
    return *reinterpret_cast<const T*>(record);
}

QColor colorOf(const U_COLORREF& c)
{
    return QColor(c.Red, c.Green, c.Blue);
}

QPointF pointOf(const U_POINTL& p)
{
    return QPointF(p.x, p.y);
}

QRectF rectOf(const U_RECTL& r)
{
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

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

MetafilePen extendedPen(const U_EXTLOGPEN& lp)
{
    MetafilePen pen{colorOf(lp.elpColor), int(lp.elpPenStyle & U_PS_STYLE_MASK)};
    if ((lp.elpPenStyle & U_PS_TYPE_MASK) == U_PS_GEOMETRIC)
        pen.width = lp.elpWidth;
    if (lp.elpBrushStyle == U_BS_NULL)
        pen.style = U_PS_NULL;
    const uint32_t cap = lp.elpPenStyle & U_PS_ENDCAP_MASK;
    pen.cap = cap == U_PS_ENDCAP_FLAT     ? Qt::FlatCap
              : cap == U_PS_ENDCAP_SQUARE ? Qt::SquareCap
                                          : Qt::RoundCap;
    const uint32_t join = lp.elpPenStyle & U_PS_JOIN_MASK;
    pen.join = join == U_PS_JOIN_BEVEL   ? Qt::BevelJoin
               : join == U_PS_JOIN_MITER ? Qt::MiterJoin
                                         : Qt::RoundJoin;
    return pen;
}

MetafileFont fontOf(const U_LOGFONT& lf)
{
    MetafileFont font;
    const auto* name = reinterpret_cast<const char16_t*>(lf.lfFaceName);
    const qsizetype length = std::find(name, name + U_LF_FACESIZE, u'\0') - name;
    if (length > 0)
        font.face = QString::fromUtf16(name, length);
    font.height = lf.lfHeight;
    font.weight = lf.lfWeight;
    font.italic = lf.lfItalic;
    font.underline = lf.lfUnderline;
    font.strikeOut = lf.lfStrikeOut;
    font.escapement = lf.lfEscapement;
    return font;
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

// A blit without a bitmap paints its raster operation; one with a bitmap copies its source
// rectangle (the target's size unless it has a size of its own) onto the target.
template <class Blt>
void blit(MetafilePainter& painter, const char* record, const Blt& blt,
          std::optional<QSizeF> sourceSize)
{
    const QRectF target(pointOf(blt.Dest), QSizeF(blt.cDest.x, blt.cDest.y));
    if (blt.cbBmiSrc == 0) {
        painter.patternBlit(target, blt.dwRop);
        return;
    }
    const Dib dib =
        decodeRecordDib(record, blt.offBmiSrc, blt.cbBmiSrc, blt.offBitsSrc, blt.cbBitsSrc);
    painter.drawBitmap(dib.image, target,
                       QRectF(pointOf(blt.Src), sourceSize.value_or(target.size())), blt.dwRop);
}

void drawArc(MetafilePainter& painter, const char* record, MetafilePainter::ArcKind kind)
{
    const auto& arc = as<U_EMRARC>(record);
    painter.drawArc(rectOf(arc.rclBox), pointOf(arc.ptlStart), pointOf(arc.ptlEnd), kind);
}

} // namespace

void playEmfRecord(MetafilePainter& painter, const char* record)
{
    DeviceContext& dc = painter.dc();
    const uint32_t type = as<U_EMR>(record).iType;
    switch (type) {
    // The device context.
    case U_EMR_SETMAPMODE:
        dc.mapMode = int(as<U_EMRSETMAPMODE>(record).iMode);
        break;
    case U_EMR_SETWINDOWEXTEX: {
        const U_SIZEL& e = as<U_EMRSETWINDOWEXTEX>(record).szlExtent;
        dc.windowExt = QSizeF(e.cx, e.cy);
        break;
    }
    case U_EMR_SETVIEWPORTEXTEX: {
        const U_SIZEL& e = as<U_EMRSETVIEWPORTEXTEX>(record).szlExtent;
        dc.viewportExt = QSizeF(e.cx, e.cy);
        break;
    }
    case U_EMR_SETWINDOWORGEX:
        dc.windowOrg = pointOf(as<U_EMRSETWINDOWORGEX>(record).ptlOrigin);
        break;
    case U_EMR_SETVIEWPORTORGEX:
        dc.viewportOrg = pointOf(as<U_EMRSETVIEWPORTORGEX>(record).ptlOrigin);
        break;
    case U_EMR_SETWORLDTRANSFORM: {
        const U_XFORM& x = as<U_EMRSETWORLDTRANSFORM>(record).xform;
        dc.world = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
        break;
    }
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const auto& modify = as<U_EMRMODIFYWORLDTRANSFORM>(record);
        const U_XFORM& x = modify.xform;
        const QTransform xform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
        if (modify.iMode == U_MWT_IDENTITY)
            dc.world = QTransform();
        else if (modify.iMode == U_MWT_LEFTMULTIPLY)
            dc.world = xform * dc.world;
        else if (modify.iMode == U_MWT_RIGHTMULTIPLY)
            dc.world = dc.world * xform;
        else if (modify.iMode == 4) // MWT_SET
            dc.world = xform;
        break;
    }
    case U_EMR_SAVEDC:
        painter.saveDc();
        break;
    case U_EMR_RESTOREDC:
        painter.restoreDc(as<U_EMRRESTOREDC>(record).iRelative);
        break;
    case U_EMR_SETBKMODE:
        dc.opaqueBackground = as<U_EMRSETBKMODE>(record).iMode == U_OPAQUE;
        break;
    case U_EMR_SETBKCOLOR:
        dc.backColor = colorOf(as<U_EMRSETBKCOLOR>(record).crColor);
        break;
    case U_EMR_SETTEXTCOLOR:
        dc.textColor = colorOf(as<U_EMRSETTEXTCOLOR>(record).crColor);
        break;
    case U_EMR_SETTEXTALIGN:
        dc.textAlign = as<U_EMRSETTEXTALIGN>(record).iMode;
        break;
    case U_EMR_SETPOLYFILLMODE:
        dc.fillRule =
            as<U_EMRSETPOLYFILLMODE>(record).iMode == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case U_EMR_SETROP2:
        dc.rop2 = int(as<U_EMRSETROP2>(record).iMode);
        break;

    // Clipping.
    case U_EMR_INTERSECTCLIPRECT:
        painter.intersectClip(rectOf(as<U_EMRINTERSECTCLIPRECT>(record).rclClip));
        break;
    case U_EMR_EXCLUDECLIPRECT:
        painter.excludeClip(rectOf(as<U_EMREXCLUDECLIPRECT>(record).rclClip));
        break;
    case U_EMR_EXTSELECTCLIPRGN:
        // Only the reset: the regions it selects are in the reference device's pixels.
        if (as<U_EMREXTSELECTCLIPRGN>(record).cbRgnData == 0)
            painter.selectClip(nullptr, as<U_EMREXTSELECTCLIPRGN>(record).iMode);
        break;

    // Objects.
    case U_EMR_CREATEPEN: {
        const auto& create = as<U_EMRCREATEPEN>(record);
        const U_LOGPEN& lp = create.lopn;
        painter.createObject(create.ihPen, MetafilePen::simple(colorOf(lp.lopnColor),
                                                               lp.lopnStyle, lp.lopnWidth.x));
        break;
    }
    case U_EMR_EXTCREATEPEN: {
        const auto& create = as<U_EMREXTCREATEPEN>(record);
        painter.createObject(create.ihPen, extendedPen(create.elp));
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto& create = as<U_EMRCREATEBRUSHINDIRECT>(record);
        const U_LOGBRUSH& lb = create.lb;
        painter.createObject(create.ihBrush,
                             logBrush(lb.lbStyle, colorOf(lb.lbColor), lb.lbHatch));
        break;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        const auto& create = as<U_EMRCREATEDIBPATTERNBRUSHPT>(record);
        const Dib pattern =
            decodeRecordDib(record, create.offBmi, create.cbBmi, create.offBits, create.cbBits);
        if (!pattern.image.isNull())
            painter.createObject(create.ihBrush, QBrush(pattern.image));
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        const auto& create = as<U_EMREXTCREATEFONTINDIRECTW>(record);
        painter.createObject(create.ihFont, fontOf(create.elfw.elfLogFont));
        break;
    }
    case U_EMR_SELECTOBJECT:
        painter.selectObject(as<U_EMRSELECTOBJECT>(record).ihObject);
        break;
    case U_EMR_DELETEOBJECT:
        painter.deleteObject(as<U_EMRDELETEOBJECT>(record).ihObject);
        break;

    // Lines and shapes.
    case U_EMR_MOVETOEX:
        painter.moveTo(pointOf(as<U_EMRMOVETOEX>(record).ptl));
        break;
    case U_EMR_LINETO:
        painter.lineTo(pointOf(as<U_EMRLINETO>(record).ptl));
        break;
    case U_EMR_RECTANGLE: {
        QPainterPath path;
        path.addRect(rectOf(as<U_EMRRECTANGLE>(record).rclBox));
        painter.drawShape(path, true);
        break;
    }
    case U_EMR_ROUNDRECT: {
        const auto& round = as<U_EMRROUNDRECT>(record);
        QPainterPath path;
        path.addRoundedRect(rectOf(round.rclBox), round.szlCorner.cx / 2.0,
                            round.szlCorner.cy / 2.0);
        painter.drawShape(path, true);
        break;
    }
    case U_EMR_ELLIPSE: {
        QPainterPath path;
        path.addEllipse(rectOf(as<U_EMRELLIPSE>(record).rclBox));
        painter.drawShape(path, true);
        break;
    }
    case U_EMR_ARC:
        drawArc(painter, record, MetafilePainter::ArcKind::Open);
        break;
    case U_EMR_CHORD:
        drawArc(painter, record, MetafilePainter::ArcKind::Chord);
        break;
    case U_EMR_PIE:
        drawArc(painter, record, MetafilePainter::ArcKind::Pie);
        break;
    case U_EMR_ARCTO: {
        const auto& arc = as<U_EMRARCTO>(record);
        painter.arcTo(rectOf(arc.rclBox), pointOf(arc.ptlStart), pointOf(arc.ptlEnd));
        break;
    }
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16: {
        QPainterPath path;
        path.addPolygon(pointsOf(record, type == U_EMR_POLYGON16));
        path.closeSubpath();
        painter.drawShape(path, true);
        break;
    }
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16: {
        QPainterPath path;
        path.addPolygon(pointsOf(record, type == U_EMR_POLYLINE16));
        painter.drawLines(path);
        break;
    }
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16:
        painter.drawLines(bezierPath(pointsOf(record, type == U_EMR_POLYBEZIER16)));
        break;
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16:
        painter.polyTo(pointsOf(record, type == U_EMR_POLYLINETO16), false);
        break;
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16:
        painter.polyTo(pointsOf(record, type == U_EMR_POLYBEZIERTO16), true);
        break;
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYGON16:
        painter.drawShape(figurePath(figuresOf(record, type == U_EMR_POLYPOLYGON16), true), true);
        break;
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYLINE16:
        painter.drawLines(figurePath(figuresOf(record, type == U_EMR_POLYPOLYLINE16), false));
        break;
    case U_EMR_SETPIXELV: {
        const auto& pixel = as<U_EMRSETPIXELV>(record);
        painter.setPixel(pointOf(pixel.ptlPixel), colorOf(pixel.crColor));
        break;
    }

    // Paths.
    case U_EMR_BEGINPATH:
        painter.beginPath();
        break;
    case U_EMR_ENDPATH:
        painter.endPath();
        break;
    case U_EMR_CLOSEFIGURE:
        painter.closeFigure();
        break;
    case U_EMR_ABORTPATH:
        painter.abortPath();
        break;
    case U_EMR_FILLPATH:
        painter.drawPath(true, false);
        break;
    case U_EMR_STROKEPATH:
        painter.drawPath(false, true);
        break;
    case U_EMR_STROKEANDFILLPATH:
        painter.drawPath(true, true);
        break;

    // Regions.
    case U_EMR_FILLRGN: {
        const auto& fill = as<U_EMRFILLRGN>(record);
        if (const MetafileObject* object = painter.object(fill.ihBrush))
            if (const auto* brush = std::get_if<QBrush>(object))
                painter.fillRegion(regionOf(record + offsetof(U_EMRFILLRGN, RgnData),
                                            fill.RgnData[0], fill.cbRgnData),
                                   *brush);
        break;
    }
    case U_EMR_PAINTRGN: {
        const auto& paint = as<U_EMRPAINTRGN>(record);
        painter.fillRegion(regionOf(record + offsetof(U_EMRPAINTRGN, RgnData), paint.RgnData[0],
                                    paint.cbRgnData),
                           dc.brush);
        break;
    }

    // Bitmaps.
    case U_EMR_BITBLT:
        blit(painter, record, as<U_EMRBITBLT>(record), std::nullopt);
        break;
    case U_EMR_STRETCHBLT: {
        const auto& blt = as<U_EMRSTRETCHBLT>(record);
        blit(painter, record, blt, QSizeF(blt.cSrc.x, blt.cSrc.y));
        break;
    }
    case U_EMR_STRETCHDIBITS: {
        const auto& s = as<U_EMRSTRETCHDIBITS>(record);
        const QRectF target(pointOf(s.Dest), QSizeF(s.cDest.x, s.cDest.y));
        if (s.cbBmiSrc == 0) {
            painter.patternBlit(target, s.dwRop);
            break;
        }
        const Dib dib = decodeRecordDib(record, s.offBmiSrc, s.cbBmiSrc, s.offBitsSrc, s.cbBitsSrc);
        painter.drawDibits(dib.image, dib.bottomUp, target,
                           QRectF(pointOf(s.Src), QSizeF(s.cSrc.x, s.cSrc.y)), s.dwRop);
        break;
    }
    case U_EMR_SETDIBITSTODEVICE: {
        const auto& d = as<U_EMRSETDIBITSTODEVICE>(record);
        const Dib dib = decodeRecordDib(record, d.offBmiSrc, d.cbBmiSrc, d.offBitsSrc, d.cbBitsSrc);
        const QSizeF size(d.cSrc.x, d.cSrc.y);
        painter.drawDibits(dib.image, dib.bottomUp, QRectF(pointOf(d.Dest), size),
                           QRectF(pointOf(d.Src), size), U_SRCCOPY);
        break;
    }

    case U_EMR_EXTTEXTOUTW:
        drawText(painter, as<U_EMREXTTEXTOUTW>(record));
        break;
    default:
        break;
    }
}

} // namespace tilemond
