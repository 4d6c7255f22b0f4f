#include "pictures/png_reader.h"
#include "pictures/png_writer.h"
#include "pictures/raster_reader.h"
#include "platform/held_picture.h"
#include "support/outcome_print.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QtEndian>
#include <gtest/gtest.h>
#include <libdeflate.h>

#include <random>
#include <string>
#include <vector>

namespace tilemond::host {
namespace {

constexpr int Level = 3;

// The chunks after the signature, in file order: type and data.
std::vector<std::pair<std::string, QByteArray>> chunksOf(const QByteArray& png)
{
    std::vector<std::pair<std::string, QByteArray>> chunks;
    EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = qsizetype(qFromBigEndian<quint32>(png.constData() + at));
        chunks.emplace_back(png.mid(at + 4, 4).toStdString(), png.mid(at + 8, length));
        at += 12 + length;
    }
    return chunks;
}

QImage noise(int width, int height, bool alpha, unsigned seed = 1)
{
    std::mt19937 random(seed);
    QImage picture(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, random() | (alpha ? 0 : 0xff000000));
    return picture;
}

// An indexed picture of `colours` random colours, every one used; the entries at `seeThrough`
// let the background show through.
QImage indexedNoise(int colours, const std::vector<int>& seeThrough)
{
    std::mt19937 random{unsigned(colours)};
    QList<QRgb> table;
    for (int n = 0; n < colours; ++n)
        table.append(random() | 0xff000000);
    for (const int entry : seeThrough)
        table[entry] = (table[entry] & 0xffffff) | uint(entry * 37 % 255) << 24;
    QImage picture(13, 21, QImage::Format_Indexed8); // rows that end within a byte
    picture.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int n = y * picture.width() + x;
            picture.setPixel(x, y, uint(n < colours ? n : int(random() % colours)));
        }
    return picture;
}

// Each colour type, and each palette size at the fewest bits per pixel, comes back pixel exact,
// at any size (odd widths: the fuzz regression's piece_files seeds); fully transparent pixels keep
// their colour, and see-through palette entries come first.
TEST(PngWriterTest, EachColourTypeAndIndexedDepthComesBackPixelExact)
{
    QImage seeThrough = noise(37, 23, true, 2);
    const int alphas[] = {0, 1, 128, 254, 255};
    for (int y = 0; y < seeThrough.height(); ++y)
        for (int x = 0; x < seeThrough.width(); ++x)
            seeThrough.setPixel(
                x, y, (seeThrough.pixel(x, y) & 0xffffff) | uint(alphas[(x + y) % 5]) << 24);
    struct Case
    {
        QImage picture;
        int colourType, bits, seeThroughEntries = 0;
    };
    const Case cases[] = {
        {noise(37, 23, false), 2, 8},
        {noise(1, 1, false), 2, 8},
        {noise(32767, 3, true, 3), 6, 8}, // the widest piece
        {noise(37, 23, false).convertToFormat(QImage::Format_RGB888), 2, 8},
        {seeThrough, 6, 8},
        {seeThrough.convertToFormat(QImage::Format_ARGB32_Premultiplied), 6, 8},
        {indexedNoise(2, {}), 3, 1},
        {indexedNoise(3, {2}), 3, 2, 1},
        {indexedNoise(16, {5, 9}), 3, 4, 2},
        {indexedNoise(17, {}), 3, 8},
        {indexedNoise(256, {0, 200, 255}), 3, 8, 3},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(testing::Message() << each.picture.format() << " " << each.bits);
        const QByteArray png = writePng(each.picture, Level);
        const auto chunks = chunksOf(png);
        ASSERT_GE(chunks.size(), 3u);
        EXPECT_EQ(chunks.front().second.at(8), each.bits);
        EXPECT_EQ(chunks.front().second.at(9), each.colourType);
        // The palette as small as the colours; see-through entries first, so that tRNS is short.
        if (each.colourType == 3) {
            EXPECT_EQ(chunks.at(1).second.size(), 3 * each.picture.colorCount());
            if (each.seeThroughEntries) {
                EXPECT_EQ(chunks.at(2).second.size(), each.seeThroughEntries);
            }
        }
        EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32),
                  each.picture.convertToFormat(QImage::Format_ARGB32));
    }
}

// The PNG with a chunk put in after IHDR, or the chunk at `at` given new data.
QByteArray withChunk(QByteArray png, const QByteArray& type, const QByteArray& data, int at = 33)
{
    const QByteArray body = type + data;
    QByteArray chunk(4, 0);
    qToBigEndian(quint32(data.size()), chunk.data());
    chunk += body + QByteArray(4, 0);
    qToBigEndian(quint32(libdeflate_crc32(0, body.constData(), std::size_t(body.size()))),
                 chunk.data() + chunk.size() - 4);
    if (at != 33)
        png.remove(at, 12 + qFromBigEndian<quint32>(png.constData() + at));
    return png.insert(at, chunk);
}

QByteArray qtPng(const QImage& picture)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(picture);
    return buffer.data();
}

// 8-bit RGB and RGBA files are decoded by our reader, the other kinds by Qt's: either way to the
// pixels and colours Qt's reader gives, and a broken file says what Qt's reader says.
TEST(PngReaderTest, EveryKindDecodesAsQtsReaderDoes)
{
    QImage sixteen = noise(40, 30, true, 5).convertToFormat(QImage::Format_RGBA64);
    sixteen.setPixelColor(3, 3, QColor::fromRgba64(1000, 40000, 65535, 30000));
    const QByteArray rgb = writePng(noise(70, 50, false, 6), Level); // all five filters
    QImage profiled = noise(30, 20, false, 8);
    profiled.setColorSpace(QColorSpace::DisplayP3); // in iCCP
    const QByteArray gamma = withChunk(rgb, "gAMA", QByteArray::fromHex("0000b18f"));
    const QByteArray chromaticities =
        QByteArray::fromHex("00007a2600008084 0000fa00000080e8 000075300000ea60 00003a9800001770");
    const std::pair<QByteArray, bool> files[] = {
        {rgb, true},
        {qtPng(noise(90, 90, true, 7)), true}, // RGBA in several IDAT chunks
        {gamma, true},
        {withChunk(gamma, "cHRM", chromaticities), true},
        {withChunk(rgb, "sRGB", "\1"), true},
        {qtPng(profiled), true},
        {qtPng(noise(20, 10, false).convertToFormat(QImage::Format_Grayscale8)), false},
        {qtPng(indexedNoise(16, {5, 9})), false},
        {qtPng(sixteen), false},
    };
    for (const auto& [png, ours] : files) {
        SCOPED_TRACE(testing::Message() << png.mid(24, 2).toHex().constData() << " " << png.size());
        QByteArray bytes = png;
        EXPECT_EQ(readPlainPng(bytes).has_value(), ours);
        const QImage qts = heldPicture(QImage::fromData(png, "PNG"));
        const QImage read = readRasterPicture(png, "png", "p.png").value_or(QImage());
        EXPECT_EQ(read.convertToFormat(qts.format()), qts);
        EXPECT_EQ(read.hasAlphaChannel(), qts.hasAlphaChannel());
        EXPECT_EQ(read.colorSpace(), qts.colorSpace());
    }
    // A broken zlib stream across IDAT chunks: the file is put back as it was for Qt's reader.
    const QByteArray several = qtPng(noise(90, 90, true, 7));
    const int second = 33 + 12 + qFromBigEndian<quint32>(several.constData() + 33);
    QByteArray idat = several.mid(second + 8, 8192);
    idat[100] = char(idat[100] ^ 0x55);
    const QByteArray broken = withChunk(several, "IDAT", idat, second);
    QByteArray bytes = broken;
    EXPECT_FALSE(readPlainPng(bytes));
    EXPECT_EQ(bytes, broken);
    EXPECT_EQ(readRasterPicture(broken, "png", "p.png"),
              Unexpected("p.png is damaged: unable to read image data"));
}

} // namespace
} // namespace tilemond::host
