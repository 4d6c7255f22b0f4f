#include "pictures/metafile_dib.h"

#include "pictures/picture_limits.h"

#include <QByteArray>
#include <QtEndian>
#include <cstdlib>
#include <cstring>

namespace tilemond {
namespace {

constexpr qsizetype kCoreHeaderBytes = 12; // BITMAPCOREHEADER
constexpr qsizetype kInfoHeaderBytes = 40; // BITMAPINFOHEADER

quint32 u32(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

quint16 u16(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

// The bytes of the header and colours of a packed DIB; 0 when they do not fit in it.
qsizetype infoBytes(QByteArrayView dib)
{
    if (dib.size() < 4)
        return 0;
    const quint32 header = u32(dib, 0);
    if (header == kCoreHeaderBytes) {
        if (dib.size() < kCoreHeaderBytes)
            return 0;
        const int bitCount = u16(dib, 10);
        const qint64 colours = bitCount <= 8 ? qint64(1) << bitCount : 0;
        const qint64 bytes = kCoreHeaderBytes + 3 * colours;
        return bytes <= dib.size() ? qsizetype(bytes) : 0;
    }
    if (header < kInfoHeaderBytes || header > quint32(dib.size()))
        return 0;
    const int bitCount = u16(dib, 14);
    const quint32 compression = u32(dib, 16);
    const quint32 used = u32(dib, 32);
    const qint64 colours = used != 0 ? used : bitCount <= 8 ? qint64(1) << bitCount : 0;
    qint64 bytes = qint64(header) + 4 * colours;
    if (header == kInfoHeaderBytes && compression == U_BI_BITFIELDS)
        bytes += 12; // the three colour masks
    return bytes <= dib.size() ? qsizetype(bytes) : 0;
}

} // namespace

Dib decodeDib(QByteArrayView info, QByteArrayView bits)
{
    if (info.size() < kCoreHeaderBytes || bits.isEmpty())
        return {};
    qint64 width = 0;
    qint64 height = 0;
    quint32 compression = U_BI_RGB;
    if (u32(info, 0) == kCoreHeaderBytes) {
        width = u16(info, 4);
        height = u16(info, 6);
    } else if (info.size() >= kInfoHeaderBytes) {
        width = qint32(u32(info, 4));
        height = qint32(u32(info, 8));
        compression = u32(info, 16);
    } else {
        return {};
    }
    if (!pictureSizeAllowed(std::abs(width), std::abs(height)))
        return {};
    Dib dib{{}, height > 0};
    if (compression == U_BI_JPEG || compression == U_BI_PNG) {
        dib.image = QImage::fromData(bits);
        return dib;
    }
    // Qt reads DIBs as BMP files: put the file header in front of the info and the bits.
    QByteArray bmp("BM");
    bmp.resize(14);
    qToLittleEndian<quint32>(quint32(14 + info.size() + bits.size()), bmp.data() + 2);
    qToLittleEndian<quint32>(0, bmp.data() + 6);
    qToLittleEndian<quint32>(quint32(14 + info.size()), bmp.data() + 10);
    bmp.append(info.data(), info.size());
    bmp.append(bits.data(), bits.size());
    dib.image = QImage::fromData(bmp, "BMP");
    if (!dib.image.isNull())
        dib.image.convertTo(QImage::Format_RGB32);
    return dib;
}

Dib decodeRecordDib(const char* record, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                    uint32_t cbBits)
{
    uint32_t recordSize = 0;
    std::memcpy(&recordSize, record + 4, sizeof recordSize);
    recordSize = qFromLittleEndian(recordSize);
    const auto inRecord = [recordSize](uint64_t offset, uint64_t size) {
        return offset + size <= recordSize;
    };
    if (!inRecord(offBmi, cbBmi) || !inRecord(offBits, cbBits))
        return {};
    return decodeDib(QByteArrayView(record + offBmi, cbBmi), QByteArrayView(record + offBits, cbBits));
}

Dib decodePackedDib(QByteArrayView dib)
{
    const qsizetype info = infoBytes(dib);
    if (info == 0)
        return {};
    return decodeDib(dib.first(info), dib.sliced(info));
}

QImage decodeBitmap16(const U_BITMAP16& header, QByteArrayView bits)
{
    const int width = header.Width;
    const int height = header.Height;
    const qsizetype rowBytes = header.WidthBytes;
    if (header.Planes != 1 || header.BitsPixel != 1 || width <= 0 || height <= 0 ||
        rowBytes < (width + 7) / 8 || bits.size() < rowBytes * height ||
        !pictureSizeAllowed(width, height))
        return {};
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), bits.data() + rowBytes * y, size_t(width + 7) / 8);
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace tilemond
