#include "platform/emf_dib.h"

#include "platform/picture_limits.h"

#include <QByteArray>
#include <QtEndian>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <uemf.h>
}

namespace tilemond {

QImage decodeRecordDib(const char* record, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                       uint32_t cbBits)
{
    // Both parts must lie inside the record, whatever its own size fields claim.
    uint32_t recordSize = 0;
    std::memcpy(&recordSize, record + 4, sizeof recordSize);
    recordSize = qFromLittleEndian(recordSize);
    const auto inRecord = [recordSize](uint64_t offset, uint64_t size) {
        return offset + size <= recordSize;
    };
    if (cbBmi < sizeof(U_BITMAPINFOHEADER) || cbBits == 0 || !inRecord(offBmi, cbBmi) ||
        !inRecord(offBits, cbBits))
        return {};
    U_BITMAPINFOHEADER header;
    std::memcpy(&header, record + offBmi, sizeof header);
    if (!pictureSizeAllowed(std::abs(qint64(header.biWidth)), std::abs(qint64(header.biHeight))))
        return {};
    if (header.biCompression == U_BI_JPEG || header.biCompression == U_BI_PNG)
        return QImage::fromData(
            QByteArrayView(reinterpret_cast<const uchar*>(record + offBits), cbBits));

    // Qt reads DIBs as BMP files: put the file header in front of the info and the bits.
    QByteArray bmp("BM");
    bmp.resize(14);
    qToLittleEndian<quint32>(quint32(14 + cbBmi + cbBits), bmp.data() + 2);
    qToLittleEndian<quint32>(0, bmp.data() + 6);
    qToLittleEndian<quint32>(quint32(14 + cbBmi), bmp.data() + 10);
    bmp.append(record + offBmi, cbBmi);
    bmp.append(record + offBits, cbBits);
    QImage image = QImage::fromData(bmp, "BMP");
    if (!image.isNull())
        image.convertTo(QImage::Format_RGB32);
    return image;
}

} // namespace tilemond
