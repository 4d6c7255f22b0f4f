#include "host/png_writer.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <libdeflate.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tilemond::host {
namespace {

constexpr int Level = 3;

using Bytes = std::vector<uchar>;

struct Chunk
{
    std::string type;
    QByteArray data;
};

// The chunks after the signature, in file order.
std::vector<Chunk> chunksOf(const QByteArray& png)
{
    std::vector<Chunk> chunks;
    EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = qsizetype(qFromBigEndian<quint32>(png.constData() + at));
        chunks.push_back({png.mid(at + 4, 4).toStdString(), png.mid(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

std::vector<std::string> typesOf(const QByteArray& png)
{
    std::vector<std::string> types;
    for (const Chunk& chunk : chunksOf(png))
        types.push_back(chunk.type);
    return types;
}

// The filter type of each row, from the inflated IDAT.
std::vector<int> rowFilters(const QByteArray& png, int width, int height, int bpp)
{
    const QByteArray idat = chunksOf(png).at(1).data;
    const std::size_t rowLength = 1 + std::size_t(width) * bpp;
    Bytes rows(rowLength * height);
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    const auto result = libdeflate_zlib_decompress(inflater, idat.constData(), idat.size(),
                                                   rows.data(), rows.size(), nullptr);
    libdeflate_free_decompressor(inflater);
    EXPECT_EQ(result, LIBDEFLATE_SUCCESS);
    std::vector<int> filters;
    for (int y = 0; y < height; ++y)
        filters.push_back(rows[y * rowLength]);
    return filters;
}

QImage readBack(const QByteArray& png)
{
    return QImage::fromData(png, "PNG");
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

TEST(PngWriterTest, OpaqueAndSeeThroughPicturesComeBackPixelExact)
{
    const QImage opaque = noise(37, 23, false);
    const QByteArray opaquePng = writePng(opaque, Level);
    EXPECT_EQ(typesOf(opaquePng), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(chunksOf(opaquePng).at(0).data.at(9), 2) << "RGB";
    EXPECT_EQ(readBack(opaquePng).convertToFormat(QImage::Format_RGB32), opaque);

    // Fully transparent pixels keep their colour, partly transparent ones their exact channels.
    QImage seeThrough = noise(37, 23, true, 2);
    const int alphas[] = {0, 1, 128, 254, 255};
    for (int y = 0; y < seeThrough.height(); ++y)
        for (int x = 0; x < seeThrough.width(); ++x) {
            const QRgb pixel = seeThrough.pixel(x, y);
            seeThrough.setPixel(x, y, (pixel & 0xffffff) | uint(alphas[(x + y) % 5]) << 24);
        }
    const QByteArray seeThroughPng = writePng(seeThrough, Level);
    EXPECT_EQ(chunksOf(seeThroughPng).at(0).data.at(9), 6) << "RGBA";
    EXPECT_EQ(readBack(seeThroughPng).convertToFormat(QImage::Format_ARGB32), seeThrough);

    // A picture in another format is written as it is held.
    const QImage premultiplied = seeThrough.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(readBack(writePng(premultiplied, Level)).convertToFormat(QImage::Format_ARGB32),
              premultiplied.convertToFormat(QImage::Format_ARGB32));
    const QImage rgb888 = opaque.convertToFormat(QImage::Format_RGB888);
    const QByteArray rgb888Png = writePng(rgb888, Level);
    EXPECT_EQ(chunksOf(rgb888Png).at(0).data.at(9), 2);
    EXPECT_EQ(readBack(rgb888Png).convertToFormat(QImage::Format_RGB32), opaque);

    EXPECT_TRUE(writePng(QImage(), Level).isEmpty());
}

// A picture from rows of bytes as the file holds them (R G B, or R G B A).
QImage fromRows(const std::vector<Bytes>& rows, int bpp)
{
    const int width = int(rows.front().size()) / bpp;
    QImage picture(width, int(rows.size()),
                   bpp == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < width; ++x) {
            const uchar* p = &rows[y][std::size_t(x) * bpp];
            picture.setPixel(x, y, qRgba(p[0], p[1], p[2], bpp == 4 ? p[3] : 255));
        }
    return picture;
}

TEST(PngWriterTest, EachRowGetsTheFilterThatFitsItBest)
{
    constexpr int Width = 16;
    for (const int bpp : {3, 4}) {
        const std::size_t length = std::size_t(Width) * bpp;
        std::mt19937 random(3);
        const auto noiseRow = [&] {
            Bytes row(length);
            for (uchar& byte : row)
                byte = uchar(random());
            return row;
        };
        std::vector<Bytes> rows;
        rows.push_back(noiseRow());
        rows.push_back(rows.back());      // the row above again: Up
        rows.push_back(Bytes(length, 0)); // zeros: None
        Bytes ramp(length);
        for (std::size_t i = 0; i < length; ++i)
            ramp[i] = uchar(i / bpp * 5 + i % bpp * 50);
        rows.push_back(ramp); // a step to the left: Sub
        // Left half as above, right half flat on a flat step: the left and the upper neighbour
        // each predict half the row, and only Paeth takes the better of them pixel by pixel.
        Bytes above = noiseRow();
        std::fill(above.begin() + length / 2, above.end(), 20);
        rows.push_back(above);
        Bytes paeth = above;
        std::fill(paeth.begin() + length / 2, paeth.end(), 120);
        rows.push_back(paeth);
        const Bytes aboveAgain = noiseRow();
        rows.push_back(aboveAgain);
        Bytes average(length);
        for (std::size_t i = 0; i < length; ++i)
            average[i] = uchar(((i < std::size_t(bpp) ? 0 : average[i - bpp]) + aboveAgain[i]) / 2);
        rows.push_back(average);

        const QImage picture = fromRows(rows, bpp);
        const QByteArray png = writePng(picture, Level);
        const std::vector<int> filters = rowFilters(png, Width, picture.height(), bpp);
        enum { None, Sub, Up, Average, Paeth };
        EXPECT_EQ(filters[1], Up) << bpp;
        EXPECT_EQ(filters[2], None) << bpp;
        EXPECT_EQ(filters[3], Sub) << bpp;
        EXPECT_EQ(filters[5], Paeth) << bpp;
        EXPECT_EQ(filters[7], Average) << bpp;
        EXPECT_EQ(readBack(png).convertToFormat(picture.format()), picture) << bpp;
    }
}

TEST(PngWriterTest, OddWidthsTheSmallestAndTheWidestPiecesComeBack)
{
    for (const bool alpha : {false, true}) {
        const auto format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        for (const QSize size :
             {QSize(1, 1), QSize(1, 5), QSize(3, 2), QSize(7, 9), QSize(129, 4), QSize(32767, 3)}) {
            const QImage picture = noise(size.width(), size.height(), alpha, size.width());
            const QImage back = readBack(writePng(picture, Level));
            EXPECT_EQ(back.size(), size) << alpha;
            EXPECT_EQ(back.convertToFormat(format), picture) << size.width() << " " << alpha;
        }
    }
}

} // namespace
} // namespace tilemond::host

namespace tilemond::host {
namespace {

// An indexed picture of `colours` random colours, every one used; the entries at `seeThrough`
// let the background show through.
QImage indexedNoise(int width, int height, int colours, const std::vector<int>& seeThrough)
{
    std::mt19937 random{unsigned(colours)};
    QList<QRgb> table;
    for (int n = 0; n < colours; ++n)
        table.append(random() | 0xff000000);
    for (const int entry : seeThrough)
        table[entry] = (table[entry] & 0xffffff) | uint(entry * 37 % 255) << 24;
    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             uint(y * width + x < colours ? y * width + x : random() % colours));
    return picture;
}

// Every size of palette at the fewest bits per pixel, across row ends that fall within a byte.
TEST(PngWriterTest, IndexedPicturesComeBackPixelExactWithTheFewestBits)
{
    struct Case
    {
        int colours;
        std::vector<int> seeThrough;
        int bits;
    };
    for (const Case& each : {Case{2, {}, 1}, Case{3, {2}, 2}, Case{16, {5, 9}, 4}, Case{17, {}, 8},
                             Case{256, {0, 200, 255}, 8}}) {
        SCOPED_TRACE(each.colours);
        const QImage picture = indexedNoise(13, 21, each.colours, each.seeThrough);
        const QByteArray png = writePng(picture, Level);
        const std::vector<Chunk> chunks = chunksOf(png);
        std::vector<std::string> types = {"IHDR", "PLTE", "IDAT", "IEND"};
        if (!each.seeThrough.empty())
            types.insert(types.begin() + 2, "tRNS");
        EXPECT_EQ(typesOf(png), types);
        EXPECT_EQ(chunks.at(0).data.at(8), each.bits);
        EXPECT_EQ(chunks.at(0).data.at(9), 3) << "palette";
        EXPECT_EQ(chunks.at(1).data.size(), 3 * each.colours);
        if (!each.seeThrough.empty()) {
            EXPECT_EQ(chunks.at(2).data.size(), qsizetype(each.seeThrough.size()))
                << "see-through entries first";
        }
        EXPECT_EQ(readBack(png).convertToFormat(QImage::Format_ARGB32),
                  picture.convertToFormat(QImage::Format_ARGB32));
    }
}

} // namespace
} // namespace tilemond::host
