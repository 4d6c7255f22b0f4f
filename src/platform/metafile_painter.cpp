#include "platform/metafile_painter.h"

#include "platform/picture_limits.h"

#include <QFontMetricsF>
#include <algorithm>
#include <climits>
#include <cmath>

namespace tilemond {
namespace {

// The device context's own pen and brush, which libuemf does not name.
constexpr uint32_t kDcBrush = 0x80000012;
constexpr uint32_t kDcPen = 0x80000013;
// GDI gives a process at most this many objects.
constexpr uint32_t kMaxObjects = 65536;
// Picture pixels beyond this never reach a picture within the size limits; coordinates are
// clamped to it before they become integers.
constexpr double kFarAway = 1 << 24;

int pixel(double value)
{
    return int(std::lround(std::clamp(value, -kFarAway, kFarAway)));
}

// The parametric angle, in degrees counterclockwise, of the point of the ellipse in `box` on
// the ray from its centre towards `towards`.
double ellipseAngle(const QRectF& box, const QPointF& towards)
{
    const QPointF centre = box.center();
    const double rx = box.width() != 0 ? std::abs(box.width()) / 2 : 1;
    const double ry = box.height() != 0 ? std::abs(box.height()) / 2 : 1;
    return std::atan2(-(towards.y() - centre.y()) / ry, (towards.x() - centre.x()) / rx) * 180 /
           M_PI;
}

// The counterclockwise sweep from `start` to `end`, a whole turn when they meet.
double sweep(double start, double end)
{
    const double turn = std::fmod(end - start + 720, 360);
    return turn > 0 ? turn : 360;
}

// How a ternary raster operation with a source combines it with the target; those without a Qt
// counterpart draw as a copy.
QPainter::CompositionMode sourceOperation(uint32_t rop)
{
    switch (rop) {
    case U_SRCCOPY:
        return QPainter::CompositionMode_SourceOver;
    case U_SRCAND:
        return QPainter::RasterOp_SourceAndDestination;
    case U_SRCPAINT:
        return QPainter::RasterOp_SourceOrDestination;
    case U_SRCINVERT:
        return QPainter::RasterOp_SourceXorDestination;
    case U_NOTSRCCOPY:
        return QPainter::RasterOp_NotSource;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// How a binary raster operation (ROP2) combines the pen or brush with the target; nullopt when
// nothing is drawn. Those without a Qt counterpart draw as a copy.
std::optional<QPainter::CompositionMode> penOperation(int rop2)
{
    switch (rop2) {
    case U_R2_NOP:
        return std::nullopt;
    case U_R2_NOT:
        return QPainter::RasterOp_NotDestination;
    case U_R2_XORPEN:
        return QPainter::RasterOp_SourceXorDestination;
    case U_R2_MASKPEN:
        return QPainter::RasterOp_SourceAndDestination;
    case U_R2_MERGEPEN:
        return QPainter::RasterOp_SourceOrDestination;
    case U_R2_NOTCOPYPEN:
        return QPainter::RasterOp_NotSource;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

} // namespace

MetafilePen MetafilePen::simple(QColor color, uint32_t style, double width)
{
    int kind = int(style & U_PS_STYLE_MASK);
    if (width > 1 && kind >= U_PS_DASH && kind <= U_PS_DASHDOTDOT)
        kind = U_PS_SOLID;
    return MetafilePen{color, kind, width};
}

QBrush logBrush(uint32_t style, QColor color, uint32_t hatch)
{
    switch (style) {
    case U_BS_NULL:
        return Qt::NoBrush;
    case U_BS_HATCHED: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                 Qt::FDiagPattern, Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(color, hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
    }
    default:
        return QBrush(color);
    }
}

MetafilePainter::MetafilePainter(QImage& target, const QTransform& deviceToImage,
                                 QSizeF devicePixelsPerMm, uint32_t objectCount)
    : m_target(target), m_painter(&target), m_deviceToImage(deviceToImage),
      m_devicePixelsPerMm(devicePixelsPerMm),
      m_objectLimit(std::clamp<uint32_t>(objectCount, 1, kMaxObjects))
{
}

QTransform MetafilePainter::pageTransform() const
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

QPen MetafilePainter::pen() const
{
    const MetafilePen& selected = m_dc.pen;
    if (selected.style == U_PS_NULL)
        return Qt::NoPen;
    QPen pen(selected.color);
    // 0: Qt's one-pixel cosmetic pen; Qt takes no width beyond the int range.
    pen.setWidthF(std::clamp(selected.width, 0.0, double(INT_MAX)));
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

void MetafilePainter::saveDc()
{
    if (m_saved.size() >= std::size_t(kMaxSavedContexts)) {
        m_overLimit = QStringLiteral("it saves more than %1 drawing states").arg(kMaxSavedContexts);
        return;
    }
    m_saved.push_back(m_dc);
}

bool MetafilePainter::spend(const QRectF& box, std::optional<double> strokeWidth)
{
    const QRectF painted = box.normalized().intersected(QRectF(m_target.rect()));
    const double area = painted.width() * painted.height();
    const double band =
        strokeWidth ? (painted.width() + painted.height()) * 2 * std::max(1.0, *strokeWidth) : area;
    m_work += 1 + qint64(std::min({area, band, double(1LL << 40)}));
    const qint64 limit = kMetafileWorkPerPixel * maxPicturePixels();
    if (m_work > limit && m_overLimit.isEmpty())
        m_overLimit = QStringLiteral("it asks for more than %1 pixels of drawing (%2 times the "
                                     "most pixels a picture may have)")
                          .arg(limit)
                          .arg(kMetafileWorkPerPixel);
    return m_overLimit.isEmpty();
}

void MetafilePainter::restoreDc(int32_t relative)
{
    const qsizetype depth = qsizetype(m_saved.size());
    const qsizetype keep = relative < 0 ? depth + relative : qsizetype(relative) - 1;
    if (keep < 0 || keep >= depth)
        return;
    m_dc = m_saved[keep];
    m_saved.resize(keep);
}

void MetafilePainter::createObject(uint32_t index, MetafileObject object)
{
    if (index >= m_objectLimit)
        return;
    if (index >= m_objects.size())
        m_objects.resize(index + 1);
    m_objects[index] = std::move(object);
}

void MetafilePainter::addObject(MetafileObject object)
{
    uint32_t index = m_objectsUsed;
    if (!m_freeObjects.empty()) {
        index = m_freeObjects.top();
        m_freeObjects.pop();
    } else if (m_objectsUsed < m_objectLimit) {
        ++m_objectsUsed;
    } else {
        return; // the table is full
    }
    createObject(index, std::move(object));
}

void MetafilePainter::deleteObject(uint32_t index)
{
    if (index >= m_objects.size() || std::holds_alternative<std::monostate>(m_objects[index]))
        return;
    m_objects[index] = {};
    if (index < m_objectsUsed)
        m_freeObjects.push(index);
}

const MetafileObject* MetafilePainter::object(uint32_t index) const
{
    return index < m_objects.size() ? &m_objects[index] : nullptr;
}

void MetafilePainter::selectObject(uint32_t index)
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
            m_dc.pen = MetafilePen{Qt::white};
            break;
        case U_BLACK_PEN:
            m_dc.pen = MetafilePen{};
            break;
        case U_NULL_PEN:
            m_dc.pen = MetafilePen{Qt::black, U_PS_NULL};
            break;
        case kDcBrush:
            m_dc.brush = QBrush(Qt::white);
            break;
        case kDcPen:
            m_dc.pen = MetafilePen{};
            break;
        case U_DEFAULT_PALETTE:
            break;
        default:
            if (index >= U_OEM_FIXED_FONT && index <= U_DEFAULT_GUI_FONT)
                m_dc.font = MetafileFont{};
            break;
        }
        return;
    }
    const MetafileObject* object = this->object(index);
    if (!object)
        return;
    if (const auto* pen = std::get_if<MetafilePen>(object))
        m_dc.pen = *pen;
    else if (const auto* brush = std::get_if<QBrush>(object))
        m_dc.brush = *brush;
    else if (const auto* font = std::get_if<MetafileFont>(object))
        m_dc.font = *font;
}

bool MetafilePainter::prepare(std::optional<QPainter::CompositionMode> operation)
{
    if (!operation)
        return false;
    if (m_appliedClip != m_dc.clipSerial) {
        m_painter.setTransform(QTransform());
        if (m_dc.clip)
            m_painter.setClipRegion(*m_dc.clip);
        else
            m_painter.setClipping(false);
        m_appliedClip = m_dc.clipSerial;
    }
    m_painter.setCompositionMode(*operation);
    m_painter.setBackgroundMode(m_dc.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
    m_painter.setBackground(m_dc.backColor);
    m_painter.setTransform(logicalToImage());
    return true;
}

void MetafilePainter::paint(const QPainterPath& path, const QPen& pen, const QBrush& brush)
{
    if (!prepare(penOperation(m_dc.rop2)))
        return;
    const QTransform& toImage = m_painter.transform();
    const QRectF box = toImage.mapRect(path.controlPointRect());
    const double penPixels =
        pen.style() == Qt::NoPen ? 0 : pen.widthF() * std::sqrt(std::abs(toImage.determinant()));
    if (!spend(box.adjusted(-penPixels, -penPixels, penPixels, penPixels),
               brush.style() == Qt::NoBrush ? std::optional(penPixels) : std::nullopt))
        return;
    QBrush fill = brush;
    // Bitmap patterns lie on the picture's pixels, whatever the mapping.
    if (fill.style() == Qt::TexturePattern)
        fill.setTransform(m_painter.transform().inverted());
    m_painter.setPen(pen);
    m_painter.setBrush(fill);
    m_painter.drawPath(path);
}

void MetafilePainter::drawShape(const QPainterPath& path, bool fill)
{
    if (m_recordingPath) {
        m_path->addPath(path);
        return;
    }
    QPainterPath shape = path;
    shape.setFillRule(m_dc.fillRule);
    paint(shape, pen(), fill ? m_dc.brush : Qt::NoBrush);
}

void MetafilePainter::moveTo(const QPointF& point)
{
    m_dc.position = point;
    if (m_recordingPath)
        m_path->moveTo(point);
}

void MetafilePainter::lineTo(const QPointF& point)
{
    polyTo(QPolygonF{point}, false);
}

void MetafilePainter::polyTo(const QPolygonF& points, bool bezier)
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

void MetafilePainter::drawArc(const QRectF& box, const QPointF& start, const QPointF& end,
                              ArcKind kind)
{
    const QRectF ellipse = box.normalized();
    const double from = ellipseAngle(ellipse, start);
    QPainterPath arc;
    arc.arcMoveTo(ellipse, from);
    if (kind == ArcKind::Pie) {
        const QPointF first = arc.currentPosition();
        arc = QPainterPath(ellipse.center());
        arc.lineTo(first);
    }
    arc.arcTo(ellipse, from, sweep(from, ellipseAngle(ellipse, end)));
    if (kind != ArcKind::Open)
        arc.closeSubpath();
    drawShape(arc, kind != ArcKind::Open);
}

void MetafilePainter::arcTo(const QRectF& box, const QPointF& start, const QPointF& end)
{
    const QRectF ellipse = box.normalized();
    const double from = ellipseAngle(ellipse, start);
    QPainterPath arc;
    arc.arcMoveTo(ellipse, from);
    const QPointF first = arc.currentPosition();
    arc = QPainterPath(m_dc.position);
    arc.lineTo(first);
    arc.arcTo(ellipse, from, sweep(from, ellipseAngle(ellipse, end)));
    m_dc.position = arc.currentPosition();
    if (m_recordingPath)
        m_path->connectPath(arc);
    else
        drawLines(arc);
}

void MetafilePainter::setPixel(const QPointF& point, const QColor& color)
{
    const QPointF at = logicalToImage().map(point);
    if (spend(QRectF(at, QSizeF(1, 1))) && QRectF(m_target.rect()).contains(at) &&
        (!m_dc.clip || m_dc.clip->contains(at.toPoint())))
        m_target.setPixel(at.toPoint(), color.rgb());
}

void MetafilePainter::fillRegion(const MetafileRegion& region, const QBrush& brush)
{
    QPainterPath path;
    for (const QRectF& rect : region)
        path.addRect(rect);
    paint(path, Qt::NoPen, brush);
}

void MetafilePainter::drawBitmap(const QImage& bitmap, const QRectF& target, const QRectF& source,
                                 uint32_t rop)
{
    if (bitmap.isNull() || source.width() == 0 || source.height() == 0 ||
        !prepare(sourceOperation(rop)))
        return;
    if (!spend(m_painter.transform().mapRect(target)))
        return;
    m_painter.translate(target.topLeft());
    m_painter.scale(target.width() / source.width(), target.height() / source.height());
    m_painter.drawImage(QPointF(0, 0), bitmap, source);
}

void MetafilePainter::drawDibits(const QImage& bitmap, bool bottomUp, const QRectF& target,
                                 QRectF source, uint32_t rop)
{
    if (bottomUp)
        source.moveTop(double(bitmap.height()) - source.top() - source.height());
    drawBitmap(bitmap, target, source, rop);
}

void MetafilePainter::patternBlit(const QRectF& target, uint32_t rop)
{
    QBrush brush;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (rop == U_PATCOPY) {
        brush = m_dc.brush;
    } else if (rop == U_PATINVERT) {
        brush = m_dc.brush;
        mode = QPainter::RasterOp_SourceXorDestination;
    } else if (rop == U_DSTINVERT) {
        brush = QBrush(Qt::black);
        mode = QPainter::RasterOp_NotDestination;
    } else if (rop == U_BLACKNESS) {
        brush = QBrush(Qt::black);
    } else if (rop == U_WHITENESS) {
        brush = QBrush(Qt::white);
    } else {
        return;
    }
    if (!prepare(mode) || !spend(m_painter.transform().mapRect(target)))
        return;
    if (brush.style() == Qt::TexturePattern)
        brush.setTransform(m_painter.transform().inverted());
    m_painter.fillRect(target.normalized(), brush);
}

void MetafilePainter::drawText(const QString& text, const QPointF& reference,
                               const std::optional<QRectF>& opaque)
{
    // Text is drawn whatever the raster operation; its background box is filled below.
    if (!prepare(QPainter::CompositionMode_SourceOver))
        return;
    m_painter.setBackgroundMode(Qt::TransparentMode);
    const QTransform toImage = m_painter.transform();
    if (opaque && spend(toImage.mapRect(*opaque)))
        m_painter.fillRect(opaque->normalized(), m_dc.backColor);

    // Text is laid out in picture pixels so that a mapping with y upwards keeps it upright.
    const MetafileFont& selected = m_dc.font;
    const double scaleX = std::hypot(toImage.m11(), toImage.m12());
    const double scaleY = std::hypot(toImage.m21(), toImage.m22());
    const double height = selected.height; // as double: the file may say INT_MIN
    const double logicalEm = height < 0 ? -height : height * 0.85;
    QFont font(selected.face);
    // A glyph beyond twice the picture's size shows no more of itself, and Qt's glyph caches
    // would take gigabytes.
    const int largest = std::max(m_target.width(), m_target.height());
    font.setPixelSize(std::clamp(pixel(selected.height ? logicalEm * scaleY : 12.0), 1,
                                 std::max(1, 2 * largest)));
    font.setWeight(QFont::Weight(std::clamp(selected.weight ? selected.weight : 400, 100, 900)));
    font.setItalic(selected.italic);
    font.setUnderline(selected.underline);
    font.setStrikeOut(selected.strikeOut);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);

    const uint32_t align = m_dc.textAlign;
    const bool fromPosition = align & U_TA_UPDATECP;
    const QPointF anchor = toImage.map(fromPosition ? m_dc.position : reference);
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

    QTransform placed;
    placed.translate(anchor.x(), anchor.y());
    placed.rotate(-(selected.escapement / 10.0));
    const QRectF box(dx, dy - metrics.ascent(), width, metrics.height());
    const QRectF painted = placed.mapRect(box);
    if (!spend(painted))
        return;
    if (fromPosition && scaleX > 0)
        m_dc.position.rx() += width / scaleX;
    // Text wholly outside the picture is not laid out glyph by glyph.
    if (!painted.intersects(QRectF(m_target.rect())))
        return;
    m_painter.setTransform(placed);
    if (m_dc.opaqueBackground)
        m_painter.fillRect(box, m_dc.backColor);
    m_painter.setFont(font);
    m_painter.setPen(m_dc.textColor);
    m_painter.drawText(QPointF(dx, dy), text);
}

void MetafilePainter::beginPath()
{
    m_path = QPainterPath();
    m_recordingPath = true;
}

void MetafilePainter::closeFigure()
{
    if (m_recordingPath)
        m_path->closeSubpath();
}

void MetafilePainter::abortPath()
{
    m_path.reset();
    m_recordingPath = false;
}

void MetafilePainter::drawPath(bool fill, bool stroke)
{
    if (!m_path)
        return;
    QPainterPath path = *m_path;
    m_path.reset();
    m_recordingPath = false;
    path.setFillRule(m_dc.fillRule);
    paint(path, stroke ? pen() : QPen(Qt::NoPen), fill ? m_dc.brush : Qt::NoBrush);
}

QRegion MetafilePainter::imageRegion(const MetafileRegion& region) const
{
    const QTransform toImage = logicalToImage();
    QRegion pixels;
    for (const QRectF& rect : region) {
        const QPolygonF corners = toImage.map(QPolygonF(rect.normalized()));
        QPolygon clamped;
        for (const QPointF& corner : corners)
            clamped << QPoint(pixel(corner.x()), pixel(corner.y()));
        pixels += toImage.isScaling() || toImage.isIdentity() ? QRegion(clamped.boundingRect())
                                                              : QRegion(clamped);
    }
    return pixels;
}

void MetafilePainter::setClip(std::optional<QRegion> clip)
{
    m_dc.clip = std::move(clip);
    m_dc.clipSerial = ++m_clipSerials;
}

void MetafilePainter::intersectClip(const QRectF& rect)
{
    const QRegion area = imageRegion({rect});
    setClip(m_dc.clip ? m_dc.clip->intersected(area) : area);
}

void MetafilePainter::excludeClip(const QRectF& rect)
{
    setClip(m_dc.clip.value_or(QRegion(m_target.rect())).subtracted(imageRegion({rect})));
}

void MetafilePainter::selectClip(const MetafileRegion* region, uint32_t mode)
{
    if (!region) {
        if (mode == U_RGN_COPY)
            setClip(std::nullopt);
        return;
    }
    const QRegion area = imageRegion(*region);
    const QRegion current = m_dc.clip.value_or(QRegion(m_target.rect()));
    switch (mode) {
    case U_RGN_AND:
        setClip(current.intersected(area));
        break;
    case U_RGN_OR:
        setClip(current.united(area));
        break;
    case U_RGN_XOR:
        setClip(current.xored(area));
        break;
    case U_RGN_DIFF:
        setClip(current.subtracted(area));
        break;
    case U_RGN_COPY:
        setClip(area);
        break;
    default:
        break;
    }
}

void MetafilePainter::offsetClip(const QPointF& offset)
{
    if (!m_dc.clip)
        return;
    const QPointF shift = logicalToImage().map(offset) - logicalToImage().map(QPointF());
    setClip(m_dc.clip->translated(pixel(shift.x()), pixel(shift.y())));
}

} // namespace tilemond
