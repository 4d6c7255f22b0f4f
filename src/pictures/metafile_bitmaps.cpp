#include "pictures/metafile_painter.h"

namespace tilemond {
namespace {

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

} // namespace

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

} // namespace tilemond
