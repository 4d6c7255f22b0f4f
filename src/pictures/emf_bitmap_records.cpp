#include "pictures/emf_record_parts.h"

#include "pictures/metafile_dib.h"

namespace tilemond {
namespace {

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

} // namespace

bool playEmfBitmapRecord(MetafilePainter& painter, const char* record, uint32_t type)
{
    switch (type) {
    case U_EMR_BITBLT:
        blit(painter, record, as<U_EMRBITBLT>(record), std::nullopt);
        return true;
    case U_EMR_STRETCHBLT: {
        const auto& blt = as<U_EMRSTRETCHBLT>(record);
        blit(painter, record, blt, QSizeF(blt.cSrc.x, blt.cSrc.y));
        return true;
    }
    case U_EMR_STRETCHDIBITS: {
        const auto& s = as<U_EMRSTRETCHDIBITS>(record);
        const QRectF target(pointOf(s.Dest), QSizeF(s.cDest.x, s.cDest.y));
        if (s.cbBmiSrc == 0) {
            painter.patternBlit(target, s.dwRop);
            return true;
        }
        const Dib dib = decodeRecordDib(record, s.offBmiSrc, s.cbBmiSrc, s.offBitsSrc, s.cbBitsSrc);
        painter.drawDibits(dib.image, dib.bottomUp, target,
                           QRectF(pointOf(s.Src), QSizeF(s.cSrc.x, s.cSrc.y)), s.dwRop);
        return true;
    }
    case U_EMR_SETDIBITSTODEVICE: {
        const auto& d = as<U_EMRSETDIBITSTODEVICE>(record);
        const Dib dib = decodeRecordDib(record, d.offBmiSrc, d.cbBmiSrc, d.offBitsSrc, d.cbBitsSrc);
        const QSizeF size(d.cSrc.x, d.cSrc.y);
        painter.drawDibits(dib.image, dib.bottomUp, QRectF(pointOf(d.Dest), size),
                           QRectF(pointOf(d.Src), size), U_SRCCOPY);
        return true;
    }
    default:
        return false;
    }
}

} // namespace tilemond
