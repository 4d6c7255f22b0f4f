#include "platform/emf_painter.h"

#include "platform/emf_dib.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace tilemond {
namespace {

// The device context's own pen and brush, which libuemf does not name.
constexpr uint32_t kDcBrush = 0x80000012;
constexpr uint32_t kDcPen = 0x80000013;

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

QBrush brushOf(const U_LOGBRUSH& brush)
{
    const QColor color = colorOf(brush.lbColor);
    switch (brush.lbStyle) {
    case U_BS_NULL:
        return Qt::NoBrush;
    case U_BS_HATCHED: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                 Qt::FDiagPattern, Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(color, brush.lbHatch < 6 ? hatches[brush.lbHatch] : Qt::SolidPattern);
    }
    default:
        return QBrush(color);
    }
}

} // namespace

EmfPainter::EmfPainter(QImage& target, const QTransform& deviceToImage, QSizeF devicePixelsPerMm,
                       int handleCount)
    : m_target(target), m_painter(&target), m_deviceToImage(deviceToImage),
      m_devicePixelsPerMm(devicePixelsPerMm), m_objects(std::max(handleCount, 1))
{
}

QTransform EmfPainter::pageTransform() const
{
    double sx = 1;
    double sy = 1;
    auto fixed = [&](double mmPerUnit) {
        sx = mmPerUnit * m_devicePixelsPerMm.width();
        sy = -mmPerUnit * m_devicePixelsPerMm.height();
    };
    switch (m_dc.mapMode) {
    case U_MM_ISOTROPIC:
    case U_MM_ANISOTROPIC: {
        auto ratio = [](double view, double window) { return window != 0 ? view / window : 1.0; };
        sx = ratio(m_dc.viewportExt.width(), m_dc.windowExt.width());
        sy = ratio(m_dc.viewportExt.height(), m_dc.windowExt.height());
        if (m_dc.mapMode == U_MM_ISOTROPIC) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    }
    case U_MM_LOMETRIC:
        fixed(0.1);
        break;
    case U_MM_HIMETRIC:
        fixed(0.01);
        break;
    case U_MM_LOENGLISH:
        fixed(0.254);
        break;
    case U_MM_HIENGLISH:
        fixed(0.0254);
        break;
    case U_MM_TWIPS:
        fixed(25.4 / 1440);
        break;
    default:
        break;
    }
    return QTransform(sx, 0, 0, sy, m_dc.viewportOrg.x() - m_dc.windowOrg.x() * sx,
                      m_dc.viewportOrg.y() - m_dc.windowOrg.y() * sy);
}

QPen EmfPainter::pen() const
{
    const PenSpec& selected = m_dc.pen;
    if (selected.style == U_PS_NULL)
        return Qt::NoPen;
    QPen pen(selected.color);
    pen.setWidthF(selected.width > 0 ? selected.width : 0); // 0: Qt's one-pixel cosmetic pen
    switch (selected.style) {
    case U_PS_DASH:
        pen.setStyle(Qt::DashLine);
        break;
    case U_PS_DOT:
        pen.setStyle(Qt::DotLine);
        break;
    case U_PS_DASHDOT:
        pen.setStyle(Qt::DashDotLine);
        break;
    case U_PS_DASHDOTDOT:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    pen.setCapStyle(selected.cap);
    pen.setJoinStyle(selected.join);
    return pen;
}

void EmfPainter::selectObject(uint32_t index)
{
    if (index & U_STOCK_OBJECT) {
        switch (index) {
        case U_WHITE_BRUSH:
            m_dc.brush = QBrush(Qt::white);
            break;
        case U_LTGRAY_BRUSH:
            m_dc.brush = QBrush(QColor(192, 192, 192));
            break;
        case U_GRAY_BRUSH:
            m_dc.brush = QBrush(QColor(128, 128, 128));
            break;
        case U_DKGRAY_BRUSH:
            m_dc.brush = QBrush(QColor(64, 64, 64));
            break;
        case U_BLACK_BRUSH:
            m_dc.brush = QBrush(Qt::black);
            break;
        case U_NULL_BRUSH:
            m_dc.brush = Qt::NoBrush;
            break;
        case U_WHITE_PEN:
            m_dc.pen = PenSpec{Qt::white};
            break;
        case U_BLACK_PEN:
            m_dc.pen = PenSpec{};
            break;
        case U_NULL_PEN:
            m_dc.pen = PenSpec{Qt::black, U_PS_NULL};
            break;
        case kDcBrush:
            m_dc.brush = QBrush(Qt::white);
            break;
        case kDcPen:
            m_dc.pen = PenSpec{};
            break;
        case U_DEFAULT_PALETTE:
            break;
        default:
            if (index >= U_OEM_FIXED_FONT && index <= U_DEFAULT_GUI_FONT)
                m_dc.font = FontSpec{};
            break;
        }
        return;
    }
    if (index >= m_objects.size())
        return;
    const Object& object = m_objects[index];
    if (const auto* pen = std::get_if<PenSpec>(&object))
        m_dc.pen = *pen;
    else if (const auto* brush = std::get_if<QBrush>(&object))
        m_dc.brush = *brush;
    else if (const auto* font = std::get_if<FontSpec>(&object))
        m_dc.font = *font;
}

void EmfPainter::createObject(uint32_t index, Object object)
{
    if (index < m_objects.size())
        m_objects[index] = std::move(object);
}

void EmfPainter::restoreDc(int32_t relative)
{
    const qsizetype depth = qsizetype(m_saved.size());
    const qsizetype keep = relative < 0 ? depth + relative : qsizetype(relative) - 1;
    if (keep < 0 || keep >= depth)
        return;
    m_dc = m_saved[keep];
    m_saved.resize(keep);
}

void EmfPainter::drawShape(const QPainterPath& path, bool fill)
{
    if (m_recordingPath) {
        m_path->addPath(path);
        return;
    }
    QPainterPath shape = path;
    shape.setFillRule(m_dc.fillRule);
    m_painter.setTransform(logicalToImage());
    m_painter.setPen(pen());
    m_painter.setBrush(fill ? m_dc.brush : Qt::NoBrush);
    m_painter.drawPath(shape);
}

void EmfPainter::lineTo(const QPointF& point)
{
    polyTo(QPolygonF{point}, false);
}

// Lines or Béziers from the current position, which moves to their last point.
void EmfPainter::polyTo(const QPolygonF& points, bool bezier)
{
    if (points.isEmpty())
        return;
    QPainterPath ownPath;
    QPainterPath& path = m_recordingPath ? *m_path : ownPath;
    if (!m_recordingPath || path.elementCount() == 0)
        path.moveTo(m_dc.position);
    if (bezier) {
        for (qsizetype i = 0; i + 2 < points.size(); i += 3)
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
    } else {
        for (const QPointF& point : points)
            path.lineTo(point);
    }
    m_dc.position = points.last();
    if (!m_recordingPath)
        drawLines(ownPath);
}

void EmfPainter::drawPathRecord(bool fill, bool stroke)
{
    if (!m_path)
        return;
    QPainterPath path = *m_path;
    m_path.reset();
    m_recordingPath = false;
    path.setFillRule(m_dc.fillRule);
    m_painter.setTransform(logicalToImage());
    m_painter.setPen(stroke ? pen() : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? m_dc.brush : Qt::NoBrush);
    m_painter.drawPath(path);
}

void EmfPainter::fillRegion(const char* region, const U_RGNDATA& header, uint32_t regionBytes,
                            const QBrush& brush)
{
    const uint64_t needed = sizeof(U_RGNDATAHEADER) + uint64_t(header.rdh.nCount) * sizeof(U_RECTL);
    if (needed > regionBytes)
        return;
    QPainterPath path;
    const char* rects = region + sizeof(U_RGNDATAHEADER);
    for (uint32_t i = 0; i < header.rdh.nCount; ++i) {
        U_RECTL rect;
        std::memcpy(&rect, rects + i * sizeof(U_RECTL), sizeof rect);
        path.addRect(rectOf(rect));
    }
    m_painter.setTransform(logicalToImage());
    m_painter.fillPath(path, brush);
}

// Draws `source` of the bitmap onto `target` in logical units; a negative width or height
// of the target mirrors the bitmap, as in GDI.
void EmfPainter::drawBitmap(const QImage& bitmap, const QRectF& target, QRectF source)
{
    if (bitmap.isNull() || source.width() == 0 || source.height() == 0)
        return;
    m_painter.setTransform(logicalToImage());
    m_painter.translate(target.topLeft());
    m_painter.scale(target.width() / source.width(), target.height() / source.height());
    m_painter.drawImage(QPointF(0, 0), bitmap, source);
}

// A blit without a source bitmap paints the brush, black or white over the target.
void EmfPainter::patternBlit(const QRectF& target, uint32_t rop)
{
    QBrush brush;
    if (rop == U_PATCOPY)
        brush = m_dc.brush;
    else if (rop == U_BLACKNESS)
        brush = QBrush(Qt::black);
    else if (rop == U_WHITENESS)
        brush = QBrush(Qt::white);
    else
        return;
    m_painter.setTransform(logicalToImage());
    m_painter.fillRect(target.normalized(), brush);
}

void EmfPainter::drawText(const U_EMREXTTEXTOUTW& record)
{
    const char* base = reinterpret_cast<const char*>(&record);
    const U_EMRTEXT& text = record.emrtext;
    if (uint64_t(text.offString) + uint64_t(text.nChars) * 2 > record.emr.nSize)
        return;
    QString string(qsizetype(text.nChars), Qt::Uninitialized);
    std::memcpy(string.data(), base + text.offString, size_t(text.nChars) * 2);

    const QTransform toImage = logicalToImage();
    if (!(text.fOptions & U_ETO_NO_RECT) && (text.fOptions & U_ETO_OPAQUE)) {
        U_RECTL opaque;
        std::memcpy(&opaque, base + offsetof(U_EMREXTTEXTOUTW, emrtext) + sizeof(U_EMRTEXT),
                    sizeof opaque);
        m_painter.setTransform(toImage);
        m_painter.fillRect(rectOf(opaque).normalized(), m_dc.backColor);
    }

    // Text is laid out in picture pixels so that a mapping with y upwards keeps it upright.
    const FontSpec& selected = m_dc.font;
    const double scaleX = std::hypot(toImage.m11(), toImage.m12());
    const double scaleY = std::hypot(toImage.m21(), toImage.m22());
    const double height = selected.height; // as double: the file may say INT_MIN
    const double logicalEm = height < 0 ? -height : height * 0.85;
    QFont font(selected.face);
    font.setPixelSize(std::max(1, int(std::lround(selected.height ? logicalEm * scaleY : 12.0))));
    font.setWeight(QFont::Weight(std::clamp(selected.weight ? selected.weight : 400, 100, 900)));
    font.setItalic(selected.italic);
    font.setUnderline(selected.underline);
    font.setStrikeOut(selected.strikeOut);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(string);

    const uint32_t align = m_dc.textAlign;
    const bool fromPosition = align & U_TA_UPDATECP;
    const QPointF anchor = toImage.map(fromPosition ? m_dc.position : pointOf(text.ptlReference));
    double dx = 0;
    if ((align & U_TA_CENTER) == U_TA_CENTER)
        dx = -width / 2;
    else if (align & U_TA_RIGHT)
        dx = -width;
    double dy = metrics.ascent();
    if ((align & U_TA_BASELINE) == U_TA_BASELINE)
        dy = 0;
    else if (align & U_TA_BOTTOM)
        dy = -metrics.descent();

    m_painter.setTransform(QTransform());
    m_painter.translate(anchor);
    m_painter.rotate(-(selected.escapement / 10.0));
    if (m_dc.opaqueBackground)
        m_painter.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()),
                           m_dc.backColor);
    m_painter.setFont(font);
    m_painter.setPen(m_dc.textColor);
    m_painter.drawText(QPointF(dx, dy), string);
    if (fromPosition && scaleX > 0)
        m_dc.position.rx() += width / scaleX;
}

// A blit without a bitmap paints its raster operation; one with a bitmap copies its source
// rectangle (the target's size unless it has a size of its own) onto the target.
template <class Blt>
void EmfPainter::blit(const char* record, const Blt& blt, std::optional<QSizeF> sourceSize)
{
    const QRectF target(pointOf(blt.Dest), QSizeF(blt.cDest.x, blt.cDest.y));
    if (blt.cbBmiSrc == 0) {
        patternBlit(target, blt.dwRop);
        return;
    }
    drawBitmap(decodeRecordDib(record, blt.offBmiSrc, blt.cbBmiSrc, blt.offBitsSrc, blt.cbBitsSrc),
               target, QRectF(pointOf(blt.Src), sourceSize.value_or(target.size())));
}

void EmfPainter::play(const char* record)
{
    const uint32_t type = as<U_EMR>(record).iType;
    switch (type) {
    // The device context.
    case U_EMR_SETMAPMODE:
        m_dc.mapMode = int(as<U_EMRSETMAPMODE>(record).iMode);
        break;
    case U_EMR_SETWINDOWEXTEX: {
        const U_SIZEL& e = as<U_EMRSETWINDOWEXTEX>(record).szlExtent;
        m_dc.windowExt = QSizeF(e.cx, e.cy);
        break;
    }
    case U_EMR_SETVIEWPORTEXTEX: {
        const U_SIZEL& e = as<U_EMRSETVIEWPORTEXTEX>(record).szlExtent;
        m_dc.viewportExt = QSizeF(e.cx, e.cy);
        break;
    }
    case U_EMR_SETWINDOWORGEX:
        m_dc.windowOrg = pointOf(as<U_EMRSETWINDOWORGEX>(record).ptlOrigin);
        break;
    case U_EMR_SETVIEWPORTORGEX:
        m_dc.viewportOrg = pointOf(as<U_EMRSETVIEWPORTORGEX>(record).ptlOrigin);
        break;
    case U_EMR_SETWORLDTRANSFORM: {
        const U_XFORM& x = as<U_EMRSETWORLDTRANSFORM>(record).xform;
        m_dc.world = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
        break;
    }
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const auto& modify = as<U_EMRMODIFYWORLDTRANSFORM>(record);
        const U_XFORM& x = modify.xform;
        const QTransform xform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
        if (modify.iMode == U_MWT_IDENTITY)
            m_dc.world = QTransform();
        else if (modify.iMode == U_MWT_LEFTMULTIPLY)
            m_dc.world = xform * m_dc.world;
        else if (modify.iMode == U_MWT_RIGHTMULTIPLY)
            m_dc.world = m_dc.world * xform;
        else if (modify.iMode == 4) // MWT_SET
            m_dc.world = xform;
        break;
    }
    case U_EMR_SAVEDC:
        m_saved.push_back(m_dc);
        break;
    case U_EMR_RESTOREDC:
        restoreDc(as<U_EMRRESTOREDC>(record).iRelative);
        break;
    case U_EMR_SETBKMODE:
        m_dc.opaqueBackground = as<U_EMRSETBKMODE>(record).iMode == U_OPAQUE;
        break;
    case U_EMR_SETBKCOLOR:
        m_dc.backColor = colorOf(as<U_EMRSETBKCOLOR>(record).crColor);
        break;
    case U_EMR_SETTEXTCOLOR:
        m_dc.textColor = colorOf(as<U_EMRSETTEXTCOLOR>(record).crColor);
        break;
    case U_EMR_SETTEXTALIGN:
        m_dc.textAlign = as<U_EMRSETTEXTALIGN>(record).iMode;
        break;
    case U_EMR_SETPOLYFILLMODE:
        m_dc.fillRule =
            as<U_EMRSETPOLYFILLMODE>(record).iMode == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        break;

    // Objects.
    case U_EMR_CREATEPEN: {
        const auto& create = as<U_EMRCREATEPEN>(record);
        const U_LOGPEN& lp = create.lopn;
        createObject(create.ihPen,
                     PenSpec{colorOf(lp.lopnColor), int(lp.lopnStyle & U_PS_STYLE_MASK),
                             double(lp.lopnWidth.x)});
        break;
    }
    case U_EMR_EXTCREATEPEN: {
        const auto& create = as<U_EMREXTCREATEPEN>(record);
        const U_EXTLOGPEN& lp = create.elp;
        PenSpec pen{colorOf(lp.elpColor), int(lp.elpPenStyle & U_PS_STYLE_MASK)};
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
        createObject(create.ihPen, pen);
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto& create = as<U_EMRCREATEBRUSHINDIRECT>(record);
        createObject(create.ihBrush, brushOf(create.lb));
        break;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        const auto& create = as<U_EMRCREATEDIBPATTERNBRUSHPT>(record);
        const QImage pattern =
            decodeRecordDib(record, create.offBmi, create.cbBmi, create.offBits, create.cbBits);
        if (!pattern.isNull())
            createObject(create.ihBrush, QBrush(pattern));
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        const auto& create = as<U_EMREXTCREATEFONTINDIRECTW>(record);
        const U_LOGFONT& lf = create.elfw.elfLogFont;
        FontSpec font;
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
        createObject(create.ihFont, font);
        break;
    }
    case U_EMR_SELECTOBJECT:
        selectObject(as<U_EMRSELECTOBJECT>(record).ihObject);
        break;
    case U_EMR_DELETEOBJECT:
        createObject(as<U_EMRDELETEOBJECT>(record).ihObject, {});
        break;

    // Lines and shapes.
    case U_EMR_MOVETOEX:
        m_dc.position = pointOf(as<U_EMRMOVETOEX>(record).ptl);
        if (m_recordingPath)
            m_path->moveTo(m_dc.position);
        break;
    case U_EMR_LINETO:
        lineTo(pointOf(as<U_EMRLINETO>(record).ptl));
        break;
    case U_EMR_RECTANGLE: {
        QPainterPath path;
        path.addRect(rectOf(as<U_EMRRECTANGLE>(record).rclBox));
        drawShape(path, true);
        break;
    }
    case U_EMR_ROUNDRECT: {
        const auto& round = as<U_EMRROUNDRECT>(record);
        QPainterPath path;
        path.addRoundedRect(rectOf(round.rclBox), round.szlCorner.cx / 2.0,
                            round.szlCorner.cy / 2.0);
        drawShape(path, true);
        break;
    }
    case U_EMR_ELLIPSE: {
        QPainterPath path;
        path.addEllipse(rectOf(as<U_EMRELLIPSE>(record).rclBox));
        drawShape(path, true);
        break;
    }
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16: {
        QPainterPath path;
        path.addPolygon(pointsOf(record, type == U_EMR_POLYGON16));
        path.closeSubpath();
        drawShape(path, true);
        break;
    }
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16: {
        QPainterPath path;
        path.addPolygon(pointsOf(record, type == U_EMR_POLYLINE16));
        drawLines(path);
        break;
    }
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16:
        drawLines(bezierPath(pointsOf(record, type == U_EMR_POLYBEZIER16)));
        break;
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16:
        polyTo(pointsOf(record, type == U_EMR_POLYLINETO16), false);
        break;
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16:
        polyTo(pointsOf(record, type == U_EMR_POLYBEZIERTO16), true);
        break;
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYGON16:
        drawShape(figurePath(figuresOf(record, type == U_EMR_POLYPOLYGON16), true), true);
        break;
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYLINE16:
        drawLines(figurePath(figuresOf(record, type == U_EMR_POLYPOLYLINE16), false));
        break;
    case U_EMR_SETPIXELV: {
        const auto& pixel = as<U_EMRSETPIXELV>(record);
        const QPoint at = logicalToImage().map(pointOf(pixel.ptlPixel)).toPoint();
        if (m_target.rect().contains(at))
            m_target.setPixel(at, colorOf(pixel.crColor).rgb());
        break;
    }

    // Paths.
    case U_EMR_BEGINPATH:
        m_path = QPainterPath();
        m_recordingPath = true;
        break;
    case U_EMR_ENDPATH:
        m_recordingPath = false;
        break;
    case U_EMR_CLOSEFIGURE:
        if (m_recordingPath)
            m_path->closeSubpath();
        break;
    case U_EMR_ABORTPATH:
        m_path.reset();
        m_recordingPath = false;
        break;
    case U_EMR_FILLPATH:
        drawPathRecord(true, false);
        break;
    case U_EMR_STROKEPATH:
        drawPathRecord(false, true);
        break;
    case U_EMR_STROKEANDFILLPATH:
        drawPathRecord(true, true);
        break;

    // Regions.
    case U_EMR_FILLRGN: {
        const auto& fill = as<U_EMRFILLRGN>(record);
        if (fill.ihBrush < m_objects.size())
            if (const auto* brush = std::get_if<QBrush>(&m_objects[fill.ihBrush]))
                fillRegion(record + offsetof(U_EMRFILLRGN, RgnData), fill.RgnData[0],
                           fill.cbRgnData, *brush);
        break;
    }
    case U_EMR_PAINTRGN: {
        const auto& paint = as<U_EMRPAINTRGN>(record);
        fillRegion(record + offsetof(U_EMRPAINTRGN, RgnData), paint.RgnData[0], paint.cbRgnData,
                   m_dc.brush);
        break;
    }

    // Bitmaps.
    case U_EMR_BITBLT:
        blit(record, as<U_EMRBITBLT>(record), std::nullopt);
        break;
    case U_EMR_STRETCHBLT: {
        const auto& blt = as<U_EMRSTRETCHBLT>(record);
        blit(record, blt, QSizeF(blt.cSrc.x, blt.cSrc.y));
        break;
    }
    case U_EMR_STRETCHDIBITS:
    case U_EMR_SETDIBITSTODEVICE: {
        // Both carry the source rectangle with its origin at the bitmap's bottom left when
        // the rows run upwards.
        const bool stretch = type == U_EMR_STRETCHDIBITS;
        const auto& s = as<U_EMRSTRETCHDIBITS>(record);
        const auto& d = as<U_EMRSETDIBITSTODEVICE>(record);
        const QImage bitmap =
            stretch ? decodeRecordDib(record, s.offBmiSrc, s.cbBmiSrc, s.offBitsSrc, s.cbBitsSrc)
                    : decodeRecordDib(record, d.offBmiSrc, d.cbBmiSrc, d.offBitsSrc, d.cbBitsSrc);
        const U_POINTL src = stretch ? s.Src : d.Src;
        const U_POINTL size = stretch ? s.cSrc : d.cSrc;
        if (stretch && s.cbBmiSrc == 0) {
            patternBlit(QRectF(pointOf(s.Dest), QSizeF(s.cDest.x, s.cDest.y)), s.dwRop);
            break;
        }
        if (bitmap.isNull())
            break;
        int32_t rowsUp = 0;
        std::memcpy(&rowsUp,
                    record + (stretch ? s.offBmiSrc : d.offBmiSrc) +
                        offsetof(U_BITMAPINFOHEADER, biHeight),
                    sizeof rowsUp);
        const double top = rowsUp > 0 ? double(bitmap.height()) - src.y - size.y : src.y;
        const QRectF source(src.x, top, size.x, size.y);
        const QRectF target = stretch ? QRectF(pointOf(s.Dest), QSizeF(s.cDest.x, s.cDest.y))
                                      : QRectF(pointOf(d.Dest), QSizeF(size.x, size.y));
        drawBitmap(bitmap, target, source);
        break;
    }

    case U_EMR_EXTTEXTOUTW:
        drawText(as<U_EMREXTTEXTOUTW>(record));
        break;
    default:
        break;
    }
}

} // namespace tilemond
