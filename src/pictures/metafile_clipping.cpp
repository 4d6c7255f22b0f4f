#include "pictures/metafile_painter.h"

namespace tilemond {

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
