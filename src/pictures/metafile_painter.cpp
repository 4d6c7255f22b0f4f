#include "pictures/metafile_painter.h"

#include "pictures/picture_limits.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace tilemond {
namespace {

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

int MetafilePainter::pixel(double value)
{
    return int(std::lround(std::clamp(value, -kFarAway, kFarAway)));
}

MetafilePainter::MetafilePainter(QImage& target, const QTransform& deviceToImage,
                                 QSizeF devicePixelsPerMm, uint32_t objectCount)
    : m_target(target), m_painter(&target), m_deviceToImage(deviceToImage),
      m_devicePixelsPerMm(devicePixelsPerMm),
      m_objectLimit(std::clamp<uint32_t>(objectCount, 1, kMaxMetafileObjects))
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

void MetafilePainter::restoreDc(int32_t relative)
{
    const qsizetype depth = qsizetype(m_saved.size());
    const qsizetype keep = relative < 0 ? depth + relative : qsizetype(relative) - 1;
    if (keep < 0 || keep >= depth)
        return;
    m_dc = m_saved[keep];
    m_saved.resize(keep);
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

} // namespace tilemond
