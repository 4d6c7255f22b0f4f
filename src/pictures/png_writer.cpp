#include "pictures/png_writer.h"

#include "pictures/png_paeth.h"
#include "platform/held_picture.h"

#include <QColorSpace>
#include <QtEndian>
#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <vector>

namespace tilemond::host {

namespace {

using Bytes = std::vector<uchar>;

enum Filter : uchar { None, Sub, Up, Average, Paeth, FilterCount };

constexpr std::array<uchar, 8> Signature{137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::size_t ChunkFrame = 12; // length, type, CRC
constexpr std::size_t HeaderData = 13;

// One row of pixels as the file holds them: R G B, or R G B A.
void unpackRow(const QImage& picture, int y, bool alpha, uchar* out)
{
    const int width = picture.width();
    if (picture.format() == QImage::Format_RGB888) {
        std::memcpy(out, picture.constScanLine(y), std::size_t(width) * 3);
        return;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    if (alpha) {
        for (int x = 0; x < width; ++x, out += 4) {
            out[0] = uchar(qRed(pixels[x]));
            out[1] = uchar(qGreen(pixels[x]));
            out[2] = uchar(qBlue(pixels[x]));
            out[3] = uchar(qAlpha(pixels[x]));
        }
        return;
    }
    for (int x = 0; x < width; ++x, out += 3) {
        out[0] = uchar(qRed(pixels[x]));
        out[1] = uchar(qGreen(pixels[x]));
        out[2] = uchar(qBlue(pixels[x]));
    }
}

// Each byte less its predictor. row and above start after bpp zero bytes: the first pixel's
// neighbours on the left, which left and aboveLeft (bpp bytes before) point at.
void filterRow(Filter filter, const uchar* __restrict row, const uchar* __restrict above,
               std::size_t length, std::size_t bpp, uchar* __restrict out)
{
    const uchar* left = row - bpp;
    const uchar* aboveLeft = above - bpp;
    switch (filter) {
    case Sub:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(row[i] - left[i]);
        break;
    case Up:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(row[i] - above[i]);
        break;
    case Average:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(row[i] - (left[i] + above[i]) / 2);
        break;
    case Paeth:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(row[i] - paeth(left[i], above[i], aboveLeft[i]));
        break;
    case None:
    case FilterCount:
        std::memcpy(out, row, length);
        break;
    }
}

// How far a filtered row is from all zeros, each byte read as signed: the smaller, the better
// it compresses, as a rule.
std::size_t rowWeight(const uchar* row, std::size_t length)
{
    unsigned weight = 0; // at most 32767 * 4 * 128
    for (std::size_t i = 0; i < length; ++i) {
        const int distance = static_cast<signed char>(row[i]);
        weight += unsigned(distance < 0 ? -distance : distance);
    }
    return weight;
}

// The rows as IDAT holds them before compression: each its filter type, then the filtered row.
Bytes filteredRows(const QImage& picture, std::size_t bpp)
{
    const std::size_t length = std::size_t(picture.width()) * bpp;
    Bytes rows(std::size_t(picture.height()) * (1 + length));
    Bytes aboveBytes(bpp + length, 0);
    Bytes rowBytes(bpp + length, 0);
    uchar* above = aboveBytes.data() + bpp;
    uchar* row = rowBytes.data() + bpp;
    std::array<Bytes, FilterCount> tried;
    for (Bytes& candidate : tried)
        candidate.resize(length);
    uchar* out = rows.data();
    for (int y = 0; y < picture.height(); ++y) {
        unpackRow(picture, y, bpp == 4, row);
        Filter best = None;
        std::size_t bestWeight = rowWeight(row, length);
        for (Filter filter : {Sub, Up, Average, Paeth}) {
            filterRow(filter, row, above, length, bpp, tried[filter].data());
            const std::size_t weight = rowWeight(tried[filter].data(), length);
            if (weight < bestWeight) {
                best = filter;
                bestWeight = weight;
            }
        }
        *out++ = best;
        std::memcpy(out, best == None ? row : tried[best].data(), length);
        out += length;
        std::swap(above, row);
    }
    return rows;
}

// What IHDR says of the pixels, the palette chunks, and the rows as IDAT holds them.
struct Layout
{
    uchar bitDepth = 8;
    uchar colourType = 2; // truecolour
    Bytes palette;        // PLTE: red, green, blue of each entry
    Bytes transparency;   // tRNS: the alpha of the entries up to the last see-through one
    Bytes rows;
};

Layout truecolourLayout(const QImage& picture)
{
    const bool alpha = picture.format() == QImage::Format_ARGB32;
    Layout layout;
    layout.colourType = alpha ? 6 : 2; // with alpha or without
    layout.rows = filteredRows(picture, alpha ? 4 : 3);
    return layout;
}

// Entries with see-through colours come first, so that tRNS ends at the last of them; as few
// bits per pixel as the palette's size allows, and rows unfiltered, as libpng writes palettes.
Layout paletteLayout(const QImage& indexed)
{
    const QList<QRgb> colours = indexed.colorTable();
    std::vector<int> order(std::size_t(colours.size()));
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_partition(order.begin(), order.end(),
                          [&](int entry) { return qAlpha(colours[entry]) != 255; });
    Layout layout;
    layout.colourType = 3;
    std::vector<uchar> place(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const QRgb colour = colours[order[i]];
        place[std::size_t(order[i])] = uchar(i);
        layout.palette.insert(layout.palette.end(),
                              {uchar(qRed(colour)), uchar(qGreen(colour)), uchar(qBlue(colour))});
        if (qAlpha(colour) != 255)
            layout.transparency.push_back(uchar(qAlpha(colour)));
    }
    const int bits = colours.size() <= 2    ? 1
                     : colours.size() <= 4  ? 2
                     : colours.size() <= 16 ? 4
                                            : 8;
    layout.bitDepth = uchar(bits);
    const std::size_t length = (std::size_t(indexed.width()) * std::size_t(bits) + 7) / 8;
    layout.rows.assign(std::size_t(indexed.height()) * (1 + length), 0);
    uchar* out = layout.rows.data();
    for (int y = 0; y < indexed.height(); ++y, out += 1 + length) {
        const uchar* in = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const std::size_t bit = std::size_t(x) * std::size_t(bits);
            out[1 + bit / 8] |= uchar(place[in[x]] << (8 - bits - int(bit % 8)));
        }
    }
    return layout;
}

// Fills in the length, type and CRC around a chunk's data already in place; gives its end.
uchar* closeChunk(uchar* chunk, const char (&type)[5], std::size_t length)
{
    qToBigEndian(quint32(length), chunk);
    std::memcpy(chunk + 4, type, 4);
    qToBigEndian(quint32(libdeflate_crc32(0, chunk + 4, length + 4)), chunk + 8 + length);
    return chunk + ChunkFrame + length;
}

struct FreeCompressor
{
    void operator()(libdeflate_compressor* compressor) const
    {
        libdeflate_free_compressor(compressor);
    }
};

// data as a zlib stream; empty when it does not fit the bound of a chunk.
Bytes compressed(libdeflate_compressor* compressor, const uchar* data, std::size_t size)
{
    Bytes stream(libdeflate_zlib_compress_bound(compressor, size));
    stream.resize(libdeflate_zlib_compress(compressor, data, size, stream.data(), stream.size()));
    // One chunk holds at most 2^31 - 1 bytes: far beyond the pictures we take in.
    if (stream.size() > std::size_t(std::numeric_limits<qint32>::max()))
        stream.clear();
    return stream;
}

// iCCP: the picture's colour profile, so that a browser shows the pixels in the colours their
// source meant. None for a picture without one: browsers take it as sRGB.
Bytes profileChunk(const QImage& picture, libdeflate_compressor* compressor)
{
    if (!picture.colorSpace().isValid())
        return {};
    const QByteArray profile = picture.colorSpace().iccProfile();
    if (profile.isEmpty())
        return {};
    static constexpr char Name[] = "ICC profile"; // with its 0; then 0 for deflate
    Bytes chunk(Name, Name + sizeof Name);
    chunk.push_back(0);
    const Bytes stream = compressed(compressor, reinterpret_cast<const uchar*>(profile.constData()),
                                    std::size_t(profile.size()));
    if (stream.empty())
        return {};
    chunk.insert(chunk.end(), stream.begin(), stream.end());
    return chunk;
}

} // namespace

QByteArray writePng(const QImage& source, int level)
{
    const bool palette = source.format() == QImage::Format_Indexed8 && source.colorCount() > 0;
    const bool held = source.format() == QImage::Format_RGB32 ||
                      source.format() == QImage::Format_RGB888 ||
                      source.format() == QImage::Format_ARGB32;
    const QImage picture = palette || held ? source : heldPicture(source);
    if (picture.isNull())
        return {};
    try {
        const Layout layout = palette ? paletteLayout(picture) : truecolourLayout(picture);
        const std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor(
            libdeflate_alloc_compressor(level));
        if (!compressor)
            return {};
        const Bytes stream = compressed(compressor.get(), layout.rows.data(), layout.rows.size());
        if (stream.empty())
            return {};
        const Bytes profile = profileChunk(picture, compressor.get());

        // Made at its exact size: a piece is kept as this until the page is saved.
        const auto chunkIfAny = [](const Bytes& data) {
            return data.empty() ? 0 : ChunkFrame + data.size();
        };
        QByteArray png(qsizetype(Signature.size() + ChunkFrame + HeaderData + chunkIfAny(profile) +
                                 chunkIfAny(layout.palette) + chunkIfAny(layout.transparency) +
                                 ChunkFrame + stream.size() + ChunkFrame),
                       Qt::Uninitialized);
        auto* at = reinterpret_cast<uchar*>(png.data());
        std::memcpy(at, Signature.data(), Signature.size());
        at += Signature.size();

        uchar* header = at + 8;
        qToBigEndian(quint32(picture.width()), header);
        qToBigEndian(quint32(picture.height()), header + 4);
        header[8] = layout.bitDepth;
        header[9] = layout.colourType;
        header[10] = header[11] = 0; // deflate, adaptive filters
        header[12] = 0;              // not interlaced
        at = closeChunk(at, "IHDR", HeaderData);
        if (!profile.empty()) {
            std::memcpy(at + 8, profile.data(), profile.size());
            at = closeChunk(at, "iCCP", profile.size());
        }
        if (!layout.palette.empty()) {
            std::memcpy(at + 8, layout.palette.data(), layout.palette.size());
            at = closeChunk(at, "PLTE", layout.palette.size());
        }
        if (!layout.transparency.empty()) {
            std::memcpy(at + 8, layout.transparency.data(), layout.transparency.size());
            at = closeChunk(at, "tRNS", layout.transparency.size());
        }

        std::memcpy(at + 8, stream.data(), stream.size());
        at = closeChunk(at, "IDAT", stream.size());
        closeChunk(at, "IEND", 0);
        return png;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace tilemond::host
