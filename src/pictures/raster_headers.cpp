#include "pictures/raster_headers.h"

#include <QtEndian>
#include <cstdlib>

namespace tilemond {
namespace {

template <typename T> T little(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<T>(data.constData() + at);
}

quint8 byteAt(const QByteArray& data, qsizetype at)
{
    return quint8(data[at]);
}

constexpr qsizetype kBmpFileHeader = 14;

bool bmpComplete(const QByteArray& data)
{
    if (data.size() < kBmpFileHeader + 16)
        return false;
    const quint32 infoSize = little<quint32>(data, 14);
    if (infoSize < 40 || data.size() < kBmpFileHeader + 40)
        return infoSize == 12; // an old core header: Qt's own checks suffice
    const qint64 width = std::abs(qint64(little<qint32>(data, 18)));
    const qint64 height = std::abs(qint64(little<qint32>(data, 22)));
    const qint64 bitsPerPixel = little<quint16>(data, 28);
    const quint32 compression = little<quint32>(data, 30);
    if (compression != 0 && compression != 3) // run-length and embedded data vary in length
        return true;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return qint64(little<quint32>(data, 10)) + rowBytes * height <= data.size();
}

// Skips a chain of gif data sub-blocks starting at `at`; returns the offset after the
// terminator, or -1 when the file ends first.
qsizetype skipGifBlocks(const QByteArray& data, qsizetype at)
{
    while (at < data.size()) {
        const int length = byteAt(data, at);
        if (length == 0)
            return at + 1;
        at += 1 + length;
    }
    return -1;
}

bool gifFirstFrameComplete(const QByteArray& data)
{
    constexpr qsizetype kScreenDescriptorEnd = 13;
    if (data.size() < kScreenDescriptorEnd)
        return false;
    const quint8 screenFlags = byteAt(data, 10);
    qsizetype at = kScreenDescriptorEnd + ((screenFlags & 0x80) ? 3 << ((screenFlags & 7) + 1) : 0);
    while (at >= 0 && at < data.size()) {
        const quint8 kind = byteAt(data, at);
        if (kind == 0x21) { // extension: label, then sub-blocks
            at = skipGifBlocks(data, at + 2);
        } else if (kind == 0x2c) { // image: descriptor, local colours, code size, sub-blocks
            if (at + 10 > data.size())
                return false;
            const quint8 flags = byteAt(data, at + 9);
            at += 10 + ((flags & 0x80) ? 3 << ((flags & 7) + 1) : 0) + 1;
            return skipGifBlocks(data, at) >= 0;
        } else {
            return false;
        }
    }
    return false;
}

// The data after the first scan must reach the end-of-image marker. Marker segments before
// the scan are walked by their lengths, so a thumbnail inside them does not count.
bool jpegComplete(const QByteArray& data)
{
    qsizetype at = 2;
    while (at + 4 <= data.size()) {
        if (byteAt(data, at) != 0xff)
            return false;
        const quint8 marker = byteAt(data, at + 1);
        if (marker == 0xff) {
            ++at;
            continue;
        }
        const int length = (byteAt(data, at + 2) << 8) | byteAt(data, at + 3);
        if (marker == 0xda)
            return data.indexOf("\xff\xd9", at + 2 + length) >= 0;
        at += 2 + length;
    }
    return false;
}

// Every chunk up to IEND lies within the file; IEND may lack its CRC, as Qt's reader forgives.
// A length that runs past the end would have libpng reserve it (up to 2 GB) before failing.
bool pngComplete(const QByteArray& data)
{
    for (qsizetype at = 8; at + 8 <= data.size();) {
        const qint64 length = qFromBigEndian<quint32>(data.constData() + at);
        if (data.mid(at + 4, 4) == "IEND")
            return true;
        at += 12 + length;
        if (at > data.size())
            return false;
    }
    return false;
}

} // namespace

std::optional<AnnouncedSize> announcedSize(const QByteArray& data, const QByteArray& format)
{
    if (format == "bmp" && data.size() >= 30) {
        const quint32 infoSize = little<quint32>(data, 14);
        if (infoSize == 12)
            return AnnouncedSize{little<quint16>(data, 18), little<quint16>(data, 20)};
        // Only a header that looks like one: junk after "BM" is damage, not a size.
        const quint16 bits = little<quint16>(data, 28);
        if (infoSize < 40 || infoSize > 124 || little<quint16>(data, 26) != 1 ||
            (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
            return std::nullopt;
        return AnnouncedSize{std::abs(qint64(little<qint32>(data, 18))),
                             std::abs(qint64(little<qint32>(data, 22)))};
    }
    if (format == "png" && data.size() >= 24 && data.mid(12, 4) == "IHDR")
        return AnnouncedSize{qFromBigEndian<quint32>(data.constData() + 16),
                             qFromBigEndian<quint32>(data.constData() + 20)};
    if (format == "gif" && data.size() >= 10)
        return AnnouncedSize{little<quint16>(data, 6), little<quint16>(data, 8)};
    return std::nullopt;
}

bool pictureDataComplete(const QByteArray& data, const QByteArray& format)
{
    if (format == "bmp")
        return bmpComplete(data);
    if (format == "gif")
        return gifFirstFrameComplete(data);
    if (format == "jpeg")
        return jpegComplete(data);
    if (format == "png")
        return pngComplete(data);
    return true;
}

} // namespace tilemond
