#include "platform/wmf_renderer.h"

#include "platform/picture_limits.h"

#include <QDir>
#include <QSizeF>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/gd/gd.h>
}

namespace tilemond {
namespace {

constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;
constexpr quint16 kSetMapMode = 0x0103;
constexpr quint16 kSetWindowExt = 0x020c;
constexpr quint16 kEllipse = 0x0418;
constexpr quint16 kPolygon = 0x0324;
// Corners of the polygon that stands in for an ellipse: under a tenth of a pixel off the curve
// for radii up to 1000 pixels.
constexpr int kEllipseCorners = 256;

qint16 s16(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<qint16>(data.constData() + at);
}

quint16 u16(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 u32(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

// What the walk over the records found: the picture's extent and its units, and the records
// that are played otherwise.
struct WmfLayout
{
    QSizeF frame;               // in metafile units
    double unitsPerInch = 0;    // 0: the units are screen pixels
    qsizetype recordsStart = 0; // where the metafile header stands
    quint32 largestRecordWords = 0;
    std::vector<std::pair<qsizetype, qsizetype>> ellipses; // offset and bytes of each record
};

// Logical units per inch of the fixed mapping modes; 0 for the others (pixels).
double unitsPerInchOfMapMode(int mode)
{
    switch (mode) {
    case 2:
        return 254; // MM_LOMETRIC
    case 3:
        return 2540; // MM_HIMETRIC
    case 4:
        return 100; // MM_LOENGLISH
    case 5:
        return 1000; // MM_HIENGLISH
    case 6:
        return 1440; // MM_TWIPS
    default:
        return 0;
    }
}

// Walks the header and every record so that libwmf is only given a metafile whose records
// all lie inside the file and that ends with its end record. Returns why it is damaged.
QString walkRecords(const QByteArray& data, WmfLayout& layout)
{
    const bool placeable = data.size() >= 4 && u32(data, 0) == 0x9ac6cdd7u;
    const qsizetype start = placeable ? kPlaceableBytes : 0;
    layout.recordsStart = start;
    if (data.size() < start + kHeaderBytes)
        return QStringLiteral("it ends inside its header");
    if (placeable) {
        layout.frame =
            QSizeF(std::abs(s16(data, 10) - s16(data, 6)), std::abs(s16(data, 12) - s16(data, 8)));
        layout.unitsPerInch = u16(data, 14);
        if (layout.unitsPerInch == 0)
            return QStringLiteral("its header gives no units per inch");
    }
    if (u16(data, start + 2) != 9)
        return QStringLiteral("its header is not a metafile header");

    int mapMode = 1;
    for (qsizetype at = start + kHeaderBytes;;) {
        if (at + 6 > data.size())
            return QStringLiteral("it ends before its last record");
        const qint64 bytes = qint64(u32(data, at)) * 2;
        const quint16 function = u16(data, at + 4);
        if (bytes < 6 || at + bytes > data.size())
            return QStringLiteral("a record at byte %1 runs past the end of the file").arg(at);
        layout.largestRecordWords = std::max(layout.largestRecordWords, quint32(bytes / 2));
        if (function == 0)
            break;
        if (function == kSetMapMode && bytes >= 8)
            mapMode = u16(data, at + 6);
        // Parameters stand in reverse order: y before x.
        if (function == kSetWindowExt && bytes >= 10 && !placeable)
            layout.frame = QSizeF(std::abs(s16(data, at + 8)), std::abs(s16(data, at + 6)));
        if (function == kEllipse && bytes >= 14)
            layout.ellipses.emplace_back(at, bytes);
        at += bytes;
    }
    if (!placeable)
        layout.unitsPerInch = unitsPerInchOfMapMode(mapMode);
    if (layout.frame.width() <= 0 || layout.frame.height() <= 0)
        return QStringLiteral("it gives no picture size");
    return {};
}

void appendLe16(QByteArray& out, qint16 value)
{
    const auto bits = quint16(value);
    out.append(char(bits & 0xff)).append(char(bits >> 8));
}

// A polygon record tracing the ellipse inside the record's rectangle.
QByteArray ellipseAsPolygon(const QByteArray& data, qsizetype at)
{
    // Parameters stand in reverse order: bottom, right, top, left.
    const double bottom = s16(data, at + 6), right = s16(data, at + 8);
    const double top = s16(data, at + 10), left = s16(data, at + 12);
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double rx = (right - left) / 2, ry = (bottom - top) / 2;
    QByteArray record;
    const quint32 words = 3 + 1 + 2 * kEllipseCorners;
    appendLe16(record, qint16(words & 0xffff)); // the record's size in words, low half first
    appendLe16(record, qint16(words >> 16));
    appendLe16(record, qint16(kPolygon));
    appendLe16(record, qint16(kEllipseCorners));
    const auto clamped = [](double v) {
        return qint16(std::clamp(std::lround(v), long(INT16_MIN), long(INT16_MAX)));
    };
    for (int i = 0; i < kEllipseCorners; ++i) {
        const double angle = 2 * M_PI * i / kEllipseCorners;
        appendLe16(record, clamped(cx + rx * std::cos(angle)));
        appendLe16(record, clamped(cy + ry * std::sin(angle)));
    }
    return record;
}

// The metafile as libwmf is given it. Its renderer leaves ellipses unfilled, while it fills
// polygons: each ellipse record becomes a polygon that traces it. The header's file size and
// largest record are set from the records as walked: libwmf allocates what the header claims,
// gigabytes for a few damaged bytes.
QByteArray playableCopy(const QByteArray& data, const WmfLayout& layout)
{
    QByteArray out;
    qsizetype from = 0;
    quint32 largest = layout.largestRecordWords;
    for (const auto& [at, bytes] : layout.ellipses) {
        out.append(data.mid(from, at - from)).append(ellipseAsPolygon(data, at));
        from = at + bytes;
        largest = std::max(largest, quint32(3 + 1 + 2 * kEllipseCorners));
    }
    out.append(data.mid(from));
    const qsizetype start = layout.recordsStart;
    qToLittleEndian<quint32>(quint32((out.size() - start) / 2), out.data() + start + 6);
    qToLittleEndian<quint32>(largest, out.data() + start + 12);
    return out;
}

// libwmf's gd pixels: 7 bits of transparency (0 opaque) over red, green, blue.
QRgb overWhite(int pixel)
{
    const int transparency = (pixel >> 24) & 0x7f;
    const int cover = 127 - transparency;
    auto blend = [&](int channel) { return (channel * cover + 255 * transparency) / 127; };
    return qRgb(blend((pixel >> 16) & 0xff), blend((pixel >> 8) & 0xff), blend(pixel & 0xff));
}

// libwmf draws text with these Type 1 fonts and crashes while starting up without any.
const char kFontFolder[] = "/usr/share/fonts/type1/urw-base35";

bool playerFontsInstalled()
{
    return !QDir(QString::fromLatin1(kFontFolder))
                .entryList({QStringLiteral("*.t1"), QStringLiteral("*.pfb")}, QDir::Files)
                .isEmpty();
}

// libwmf hands its picture over and never frees it, and does not export gd's own destroy:
// these are the blocks its truecolor gd image owns.
struct GdPicture
{
    explicit GdPicture(void* image) : image(static_cast<gdImagePtr>(image)) {}
    ~GdPicture()
    {
        if (!image)
            return;
        std::free(image->_tpixels);
        std::free(image->tpixels);
        std::free(image->polyInts);
        std::free(image->style);
        std::free(image);
    }
    GdPicture(const GdPicture&) = delete;
    GdPicture& operator=(const GdPicture&) = delete;
    gdImagePtr image;
};

class WmfPlayer
{
public:
    WmfPlayer()
    {
        if (!playerFontsInstalled())
            return;
        char folder[sizeof kFontFolder];
        std::memcpy(folder, kFontFolder, sizeof folder);
        char* folders[] = {folder, nullptr};
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
        options.fontdirs = folders;
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_FONTDIRS | WMF_OPT_IGNORE_NONFATAL |
                                    WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&m_api, flags, &options) != wmf_E_None)
            m_api = nullptr;
    }
    ~WmfPlayer()
    {
        if (m_api)
            wmf_api_destroy(m_api);
    }
    WmfPlayer(const WmfPlayer&) = delete;
    WmfPlayer& operator=(const WmfPlayer&) = delete;

    // Plays the metafile into a width x height picture; empty with `why` set on failure.
    QImage play(QByteArray data, int width, int height, QString& why)
    {
        if (!m_api) {
            why = QStringLiteral("the metafile player could not start (are its fonts, "
                                 "fonts-urw-base35, installed?)");
            return {};
        }
        wmfD_Rect bbox{};
        auto* bytes = reinterpret_cast<unsigned char*>(data.data());
        if (wmf_mem_open(m_api, bytes, long(data.size())) != wmf_E_None ||
            wmf_scan(m_api, 0, &bbox) != wmf_E_None) {
            why = QStringLiteral("its records cannot be read");
            return {};
        }
        wmf_gd_t* device = WMF_GD_GetData(m_api);
        device->type = wmf_gd_image;
        device->bbox = bbox;
        device->width = unsigned(width);
        device->height = unsigned(height);
        const wmf_error_t played = wmf_play(m_api, 0, &bbox);
        const GdPicture picture(device->gd_image);
        device->gd_image = nullptr;
        if (played != wmf_E_None || !picture.image) {
            why = QStringLiteral("its records cannot be played");
            return {};
        }
        const int* pixels = wmf_gd_image_pixels(picture.image);
        if (!pixels) {
            why = QStringLiteral("its records cannot be played");
            return {};
        }
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = overWhite(pixels[qsizetype(y) * width + x]);
        }
        return image;
    }

private:
    wmfAPI* m_api = nullptr;
};

// The picture's size in pixels: its frame at the screen's resolution, or in its own units when
// those are pixels.
QSize pixelSize(const WmfLayout& layout)
{
    const QSizeF size = layout.frame;
    if (layout.unitsPerInch <= 0)
        return QSize(int(std::min(size.width(), double(INT_MAX))),
                     int(std::min(size.height(), double(INT_MAX))));
    return QSize(
        int(std::min<qint64>(screenPixelsX(size.width() / layout.unitsPerInch), INT_MAX)),
        int(std::min<qint64>(screenPixelsY(size.height() / layout.unitsPerInch), INT_MAX)));
}

} // namespace

std::optional<QSize> wmfPictureSize(const QByteArray& data)
{
    WmfLayout layout;
    if (!walkRecords(data, layout).isEmpty())
        return std::nullopt;
    return pixelSize(layout);
}

LoadedPicture renderWmf(const QByteArray& data, const QString& file)
{
    WmfLayout layout;
    const QString broken = walkRecords(data, layout);
    if (!broken.isEmpty())
        return {{}, damagedError(file, broken)};

    const QSize size = pixelSize(layout);
    if (size.width() < 1 || size.height() < 1)
        return {{}, damagedError(file, QStringLiteral("it is smaller than a pixel"))};
    if (!pictureSizeAllowed(size.width(), size.height()))
        return {{}, tooLargeError(file, size.width(), size.height())};

    QString why;
    WmfPlayer player;
    const QImage image = player.play(playableCopy(data, layout), size.width(), size.height(), why);
    if (image.isNull())
        return {{}, damagedError(file, why)};
    return {image, {}};
}

} // namespace tilemond
