#include "pictures/png_reader.h"

#include "pictures/picture_limits.h"
#include "pictures/png_paeth.h"

#include <QColorSpace>
#include <QPointF>
#include <QtEndian>
#include <libdeflate.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace tilemond {
namespace {

constexpr qsizetype kSignature = 8;
constexpr qsizetype kFrame = 12; // length, type, CRC

struct Chunk
{
    qsizetype at = 0; // where its length field starts
    quint32 length = 0;
    const uchar* type = nullptr;
    const uchar* data = nullptr;

    bool is(const char (&name)[5]) const { return std::memcmp(type, name, 4) == 0; }
    bool critical() const { return (type[0] & 0x20) == 0; }
    // libpng refuses a name of anything but letters.
    bool named() const
    {
        return std::all_of(type, type + 4,
                           [](uchar c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
    }
    bool crcHolds() const
    {
        return libdeflate_crc32(0, type, length + 4) == qFromBigEndian<quint32>(data + length);
    }
};

// What the chunks before the pixels say, and where the pixels are.
struct Plan
{
    quint32 width = 0;
    quint32 height = 0;
    bool alpha = false;
    std::vector<Chunk> idat;
    QColorSpace colourSpace;
};

// The chunk at `at` when the file holds all of it.
std::optional<Chunk> chunkAt(const QByteArray& file, qsizetype at)
{
    if (file.size() - at < kFrame)
        return std::nullopt;
    const auto* base = reinterpret_cast<const uchar*>(file.constData()) + at;
    const quint32 length = qFromBigEndian<quint32>(base);
    if (length > quint32(file.size() - at - kFrame))
        return std::nullopt;
    return Chunk{at, length, base + 4, base + 8};
}

double pngFixed(const uchar* at)
{
    return .00001 * qFromBigEndian<qint32>(at); // as libpng gives it to Qt
}

// The chunks that say what the colours mean; each at most once, before PLTE and IDAT.
struct ColourChunks
{
    std::optional<Chunk> icc, srgb, gamma, chrm;

    std::optional<Chunk>* slotOf(const Chunk& chunk)
    {
        return chunk.is("iCCP")   ? &icc
               : chunk.is("sRGB") ? &srgb
               : chunk.is("gAMA") ? &gamma
               : chunk.is("cHRM") ? &chrm
                                  : nullptr;
    }
};

// libpng's checks of a profile's header and tag table: one it refuses drops every colour chunk.
bool headerAsLibpngWants(const QByteArray& profile)
{
    const auto word = [&](qsizetype at) {
        return qFromBigEndian<quint32>(profile.constData() + at);
    };
    const QByteArray deviceClass = profile.mid(12, 4), connection = profile.mid(20, 4);
    if (profile.size() < 132 || word(0) != quint32(profile.size()) ||
        profile.mid(16, 4) != "RGB " || profile.mid(36, 4) != "acsp" || word(64) >= 0xffff ||
        deviceClass == "abst" || deviceClass == "link" ||
        (connection != "XYZ " && connection != "Lab ") ||
        word(128) > quint32(profile.size() - 132) / 12)
        return false;
    for (quint32 tag = 0; tag < word(128); ++tag) {
        const quint32 offset = word(132 + 12 * tag + 4), length = word(132 + 12 * tag + 8);
        if (offset > quint32(profile.size()) || length > quint32(profile.size()) - offset)
            return false;
    }
    return true;
}

// The profile of iCCP (a name, compression 0, the zlib stream), when libpng would keep it too:
// no larger than it allows a chunk, and with a header it takes.
std::optional<QColorSpace> profileSpace(const Chunk& icc)
{
    const auto* nameEnd = static_cast<const uchar*>(std::memchr(icc.data, 0, icc.length));
    if (!nameEnd || nameEnd == icc.data || nameEnd - icc.data > 79 ||
        std::size_t(nameEnd - icc.data) + 2 > icc.length || nameEnd[1] != 0)
        return std::nullopt;
    const uchar* stream = nameEnd + 2;
    const std::size_t streamLength = icc.length - std::size_t(stream - icc.data);
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)>
        inflater(libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    QByteArray profile;
    constexpr std::size_t kMostProfileBytes = 8000000;
    libdeflate_result result = LIBDEFLATE_INSUFFICIENT_SPACE;
    for (std::size_t room = 65536;
         inflater && result == LIBDEFLATE_INSUFFICIENT_SPACE && room <= kMostProfileBytes;
         room *= 2) {
        profile.resize(qsizetype(room));
        std::size_t length = 0;
        result = libdeflate_zlib_decompress(inflater.get(), stream, streamLength, profile.data(),
                                            room, &length);
        profile.resize(qsizetype(length));
    }
    if (result != LIBDEFLATE_SUCCESS || !headerAsLibpngWants(profile))
        return std::nullopt;
    QColorSpace space = QColorSpace::fromIccProfile(profile);
    if (!space.isValid())
        return std::nullopt;
    return space;
}

// As Qt's reader makes it: the ICC profile, else sRGB, else gAMA with cHRM's primaries, else
// with sRGB's. Nothing when libpng would drop a chunk or it is odd in any way.
std::optional<QColorSpace> colourSpaceOf(const ColourChunks& chunks)
{
    // libpng keeps the first of sRGB and iCCP, Qt's reader the profile: leave both to Qt's.
    if (chunks.icc && chunks.srgb)
        return std::nullopt;
    if (chunks.icc)
        return profileSpace(*chunks.icc);
    if (const auto& srgb = chunks.srgb) {
        if (srgb->length != 1 || srgb->data[0] > 3)
            return std::nullopt;
        return QColorSpace(QColorSpace::SRgb);
    }
    const auto& gamma = chunks.gamma;
    const auto& chrm = chunks.chrm;
    if (!gamma)
        return QColorSpace();
    const qint32 gammaFixed = qFromBigEndian<qint32>(gamma->data);
    if (gamma->length != 4 || gammaFixed < 16 || gammaFixed > 625000000 ||
        (chrm && chrm->length != 32))
        return std::nullopt;
    const float fileGamma = float(pngFixed(gamma->data));
    const float transferGamma = 1.0f / fileGamma; // the chunk holds the encoding's inverse
    // libpng drops every colour chunk for chromaticities it finds impossible; those of sRGB (all
    // that most writers put there) it takes, others are left to Qt's reader.
    static constexpr quint32 kSrgbChromaticities[8] = {31270, 32900, 64000, 33000,
                                                       30000, 60000, 15000, 6000};
    for (int i = 0; chrm && i < 8; ++i)
        if (qFromBigEndian<quint32>(chrm->data + 4 * i) != kSrgbChromaticities[i])
            return std::nullopt;
    if (chrm) {
        const auto point = [&](int i) {
            return QPointF(pngFixed(chrm->data + 8 * i), pngFixed(chrm->data + 8 * i + 4));
        };
        return QColorSpace(point(0), point(1), point(2), point(3),
                           QColorSpace::TransferFunction::Gamma, transferGamma);
    }
    return QColorSpace(QColorSpace::Primaries::SRgb, QColorSpace::TransferFunction::Gamma,
                       transferGamma);
}

// The plan of a file this reader takes: critical chunks and the colour chunks intact, in their
// places, one run of IDAT, and IEND. Anything else is left to Qt's reader.
std::optional<Plan> planOf(const QByteArray& file)
{
    const auto header = chunkAt(file, kSignature);
    if (!file.startsWith("\x89PNG\r\n\x1a\n") || !header || !header->is("IHDR") ||
        header->length != 13 || !header->crcHolds())
        return std::nullopt;
    const uchar* ihdr = header->data;
    Plan plan;
    plan.width = qFromBigEndian<quint32>(ihdr);
    plan.height = qFromBigEndian<quint32>(ihdr + 4);
    const uchar depth = ihdr[8], colour = ihdr[9];
    if (depth != 8 || (colour != 2 && colour != 6) || ihdr[10] != 0 || ihdr[11] != 0 ||
        ihdr[12] != 0 || !pictureSizeAllowed(plan.width, plan.height))
        return std::nullopt;
    plan.alpha = colour == 6;

    ColourChunks meaning;
    bool afterPalette = false;
    for (qsizetype at = header->at + kFrame + header->length;;) {
        const auto chunk = chunkAt(file, at);
        if (!chunk)
            return std::nullopt;
        at += kFrame + chunk->length;
        if (!chunk->named())
            return std::nullopt;
        std::optional<Chunk>* const colourSlot = meaning.slotOf(*chunk);
        const bool colourChunk = colourSlot != nullptr;
        if ((chunk->critical() || colourChunk) && !chunk->crcHolds())
            return std::nullopt;
        if (chunk->is("IDAT")) {
            if (!plan.idat.empty() &&
                plan.idat.back().at + kFrame + plan.idat.back().length != chunk->at)
                return std::nullopt; // IDAT after another chunk
            plan.idat.push_back(*chunk);
        } else if (chunk->is("IEND")) {
            break;
        } else if (chunk->is("tRNS") || (chunk->critical() && !chunk->is("PLTE")) ||
                   (colourChunk && (afterPalette || !plan.idat.empty()))) {
            return std::nullopt;
        } else if (chunk->is("PLTE")) {
            if (afterPalette || !plan.idat.empty())
                return std::nullopt; // libpng refuses a second one, or one after IDAT
            afterPalette = true;
        } else if (colourChunk) {
            if (*colourSlot)
                return std::nullopt;
            *colourSlot = chunk;
        }
    }
    if (plan.idat.empty())
        return std::nullopt;
    const auto space = colourSpaceOf(meaning);
    if (!space)
        return std::nullopt;
    plan.colourSpace = *space;
    return plan;
}

// The IDAT data moved together over the frames between the chunks, in place, so that the zlib
// stream is one run without a copy; the frames are kept to put the file back as it was.
class JoinedIdat
{
public:
    JoinedIdat(uchar* file, const std::vector<Chunk>& chunks) : m_file(file), m_chunks(chunks)
    {
        uchar* end = file + chunks.front().at + 8 + chunks.front().length;
        for (std::size_t i = 1; i < chunks.size(); ++i) {
            const uchar* frame = file + chunks[i].at - 4;
            m_frames.insert(m_frames.end(), frame, frame + kFrame);
            std::memmove(end, file + chunks[i].at + 8, chunks[i].length);
            end += chunks[i].length;
        }
        m_size = std::size_t(end - stream());
    }
    JoinedIdat(const JoinedIdat&) = delete;
    JoinedIdat& operator=(const JoinedIdat&) = delete;
    // Back to the file as it was, the last chunk first so that none overwrites one not yet moved.
    ~JoinedIdat()
    {
        uchar* end = stream() + m_size;
        for (std::size_t i = m_chunks.size() - 1; i > 0; --i) {
            end -= m_chunks[i].length;
            std::memmove(m_file + m_chunks[i].at + 8, end, m_chunks[i].length);
            std::memcpy(m_file + m_chunks[i].at - 4, m_frames.data() + (i - 1) * kFrame, kFrame);
        }
    }

    const uchar* stream() const { return m_file + m_chunks.front().at + 8; }
    uchar* stream() { return m_file + m_chunks.front().at + 8; }
    std::size_t size() const { return m_size; }

private:
    uchar* m_file;
    const std::vector<Chunk>& m_chunks;
    std::vector<uchar> m_frames;
    std::size_t m_size = 0;
};

#ifdef __SSE2__
// Paeth's predictor runs along the row, each pixel needing the one before: one pixel at a time,
// its bytes side by side in 16-bit lanes, as libpng does it. Four bytes are read for a pixel of
// three (the fourth lane is never stored), so rows are followed by a byte to spare.
__m128i loadPixel(const uchar* at)
{
    quint32 bytes;
    std::memcpy(&bytes, at, 4);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(bytes)), _mm_setzero_si128());
}

__m128i absolute(__m128i value)
{
    return _mm_max_epi16(value, _mm_sub_epi16(_mm_setzero_si128(), value));
}

__m128i choose(__m128i where, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(where, yes), _mm_andnot_si128(where, no));
}

template <std::size_t bpp>
void unpaethRow(const uchar* in, uchar* out, const uchar* above, std::size_t length)
{
    const __m128i byteMask = _mm_set1_epi16(0xff);
    __m128i left = _mm_setzero_si128();
    __m128i aboveLeft = _mm_setzero_si128();
    for (std::size_t i = 0; i < length; i += bpp) {
        const __m128i up = loadPixel(above + i);
        const __m128i towardsLeft = _mm_sub_epi16(up, aboveLeft);
        const __m128i towardsUp = _mm_sub_epi16(left, aboveLeft);
        const __m128i toLeft = absolute(towardsLeft);
        const __m128i toUp = absolute(towardsUp);
        const __m128i toAboveLeft = absolute(_mm_add_epi16(towardsLeft, towardsUp));
        const __m128i nearest = _mm_min_epi16(toAboveLeft, _mm_min_epi16(toLeft, toUp));
        const __m128i predicted = choose(_mm_cmpeq_epi16(nearest, toLeft), left,
                                         choose(_mm_cmpeq_epi16(nearest, toUp), up, aboveLeft));
        left = _mm_and_si128(_mm_add_epi16(loadPixel(in + i), predicted), byteMask);
        aboveLeft = up;
        const quint32 pixel = quint32(_mm_cvtsi128_si32(_mm_packus_epi16(left, left)));
        std::memcpy(out + i, &pixel, bpp);
    }
}
#endif

// Undoes a row's filter from `in` into `out`. out and above start after bpp zero bytes, the first
// pixel's neighbours on the left; above holds the row before (zeros for the first).
template <std::size_t bpp>
bool unfilterRow(uchar filter, const uchar* __restrict in, uchar* __restrict out,
                 const uchar* __restrict above, std::size_t length)
{
    const uchar* left = out - bpp;
    const uchar* aboveLeft = above - bpp;
    switch (filter) {
    case 0:
        std::memcpy(out, in, length);
        return true;
    case 1:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(in[i] + left[i]);
        return true;
    case 2:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(in[i] + above[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(in[i] + ((left[i] + above[i]) >> 1));
        return true;
    case 4:
#ifdef __SSE2__
        unpaethRow<bpp>(in, out, above, length);
        return true;
#endif
        for (std::size_t i = 0; i < length; ++i)
            out[i] = uchar(in[i] + paeth(left[i], above[i], aboveLeft[i]));
        return true;
    default:
        return false;
    }
}

// One row of the file's R G B (A) bytes as the picture's pixels: RGB888 holds them as they are.
void toPixels(const uchar* bytes, quint32 width, bool alpha, uchar* pixels)
{
    if (!alpha) {
        std::memcpy(pixels, bytes, std::size_t(width) * 3);
        return;
    }
    auto* argb = reinterpret_cast<QRgb*>(pixels);
    for (quint32 x = 0; x < width; ++x, bytes += 4)
        argb[x] = qRgba(bytes[0], bytes[1], bytes[2], bytes[3]);
}

struct Free
{
    void operator()(void* memory) const { std::free(memory); }
};

// An opaque picture is held at three bytes a pixel (RGB888), one with alpha at four (ARGB32). The
// rows are inflated into the end of the picture's own memory and each is written, once
// unfiltered, at its place in front: a row's pixels never reach the filtered rows still to come,
// because a row of pixels takes at least as many bytes as a filtered row, or the memory is as
// long as the filtered rows.
std::optional<QImage> decode(const Plan& plan, const JoinedIdat& stream)
{
    const std::size_t bpp = plan.alpha ? 4 : 3;
    const std::size_t rowLength = std::size_t(plan.width) * bpp;
    const std::size_t filtered = std::size_t(plan.height) * (1 + rowLength);
    const std::size_t stride = (rowLength + 3) & ~std::size_t(3); // whole 32-bit words, as Qt's
    const std::size_t total = std::max(std::size_t(plan.height) * stride, filtered);
    std::unique_ptr<uchar, Free> memory(static_cast<uchar*>(std::calloc(total + 1, 1)));
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)>
        inflater(libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    if (!memory || !inflater)
        return std::nullopt;
    uchar* in = memory.get() + (total - filtered);
    std::size_t inflated = 0;
    if (libdeflate_zlib_decompress(inflater.get(), stream.stream(), stream.size(), in, filtered,
                                   &inflated) != LIBDEFLATE_SUCCESS ||
        inflated != filtered)
        return std::nullopt;

    std::vector<uchar> rows(2 * (bpp + rowLength) + 1, 0);
    uchar* above = rows.data() + bpp;
    uchar* row = above + bpp + rowLength;
    for (quint32 y = 0; y < plan.height; ++y, in += 1 + rowLength) {
        if (!(plan.alpha ? unfilterRow<4>(in[0], in + 1, row, above, rowLength)
                         : unfilterRow<3>(in[0], in + 1, row, above, rowLength)))
            return std::nullopt;
        toPixels(row, plan.width, plan.alpha, memory.get() + std::size_t(y) * stride);
        std::swap(row, above);
    }
    QImage image(
        memory.get(), int(plan.width), int(plan.height), qsizetype(stride),
        plan.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888,
        [](void* pixels) { std::free(pixels); }, memory.get());
    if (image.isNull())
        return std::nullopt;
    memory.release(); // the picture frees it
    if (plan.colourSpace.isValid())
        image.setColorSpace(plan.colourSpace);
    return image;
}

} // namespace

std::optional<QImage> readPlainPng(QByteArray& data)
{
    const std::optional<Plan> plan = planOf(data);
    if (!plan)
        return std::nullopt;
    const JoinedIdat stream(reinterpret_cast<uchar*>(data.data()), plan->idat);
    return decode(*plan, stream);
}

} // namespace tilemond
