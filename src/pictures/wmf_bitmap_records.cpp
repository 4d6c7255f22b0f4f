#include "pictures/wmf_record_parts.h"

#include "pictures/metafile_dib.h"

namespace tilemond {
namespace {

// BitBlt and StretchBlt carry a Bitmap16 or nothing (a pattern blit); the DIB kinds a DIB.
void blit(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    U_POINT16 target;
    U_POINT16 targetSize;
    U_POINT16 source;
    U_POINT16 sourceSize;
    uint32_t rop = 0;
    U_BITMAP16 bitmap;
    const char* bits = nullptr;
    int read = 0;
    switch (type) {
    case U_WMR_BITBLT:
        read = U_WMRBITBLT_get(record.data(), &target, &targetSize, &source, &rop, &bitmap, &bits);
        sourceSize = targetSize;
        break;
    case U_WMR_STRETCHBLT:
        read = U_WMRSTRETCHBLT_get(record.data(), &target, &targetSize, &source, &sourceSize, &rop,
                                   &bitmap, &bits);
        break;
    case U_WMR_DIBBITBLT:
        read = U_WMRDIBBITBLT_get(record.data(), &target, &targetSize, &source, &rop, &bits);
        sourceSize = targetSize;
        break;
    case U_WMR_DIBSTRETCHBLT:
        read = U_WMRDIBSTRETCHBLT_get(record.data(), &target, &targetSize, &source, &sourceSize,
                                      &rop, &bits);
        break;
    default:
        return;
    }
    if (!read)
        return;
    const QRectF to(pointOf(target), sizeOf(targetSize));
    if (!bits) {
        painter.patternBlit(to, rop);
        return;
    }
    const bool dib = type == U_WMR_DIBBITBLT || type == U_WMR_DIBSTRETCHBLT;
    const QImage image = dib ? decodePackedDib(restOf(record, bits)).image
                             : decodeBitmap16(bitmap, restOf(record, bits));
    painter.drawBitmap(image, to, QRectF(pointOf(source), sizeOf(sourceSize)), rop);
}

// StretchDIB and SetDIBitsToDevice: a DIB with colours of its own, its source rectangle counted
// from the bottom row when the rows are stored bottom up.
void drawDibits(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    U_POINT16 target;
    U_POINT16 targetSize;
    U_POINT16 source;
    U_POINT16 sourceSize;
    uint16_t usage = 0;
    uint32_t rop = U_SRCCOPY;
    const char* dib = nullptr;
    if (type == U_WMR_STRETCHDIB) {
        if (!U_WMRSTRETCHDIB_get(record.data(), &target, &targetSize, &source, &sourceSize, &usage,
                                 &rop, &dib))
            return;
    } else {
        uint16_t scans = 0;
        uint16_t firstScan = 0;
        if (!U_WMRSETDIBTODEV_get(record.data(), &target, &targetSize, &source, &usage, &scans,
                                  &firstScan, &dib))
            return;
        sourceSize = targetSize;
    }
    if (usage != U_DIB_RGB_COLORS)
        return; // colours from a palette
    const Dib bitmap = decodePackedDib(restOf(record, dib));
    painter.drawDibits(bitmap.image, bitmap.bottomUp, QRectF(pointOf(target), sizeOf(targetSize)),
                       QRectF(pointOf(source), sizeOf(sourceSize)), rop);
}

} // namespace

bool playWmfBitmapRecord(MetafilePainter& painter, const WmfRecord& record, uint8_t type)
{
    const char* data = record.data();
    switch (type) {
    case U_WMR_BITBLT:
    case U_WMR_STRETCHBLT:
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT:
        blit(painter, record, type);
        return true;
    case U_WMR_STRETCHDIB:
    case U_WMR_SETDIBTODEV:
        drawDibits(painter, record, type);
        return true;
    case U_WMR_PATBLT: {
        U_POINT16 target;
        U_POINT16 size;
        uint32_t rop = 0;
        if (U_WMRPATBLT_get(data, &target, &size, &rop))
            painter.patternBlit(QRectF(pointOf(target), sizeOf(size)), rop);
        return true;
    }
    default:
        return false;
    }
}

} // namespace tilemond
