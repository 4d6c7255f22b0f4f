#include "pictures/metafile_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace tilemond {
namespace {

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

} // namespace

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

} // namespace tilemond
