#include "pictures/wmf_renderer.h"

#include "pictures/metafile_painter.h"
#include "pictures/picture_limits.h"
#include "pictures/wmf_records.h"
#include "platform/screen_metrics.h"

#include <QRectF>
#include <algorithm>
#include <climits>
#include <cmath>

extern "C" {
#include <uwmf.h>
}

namespace tilemond {
namespace {

// What the walk over the records found.
struct WmfLayout
{
    QRectF frame;               // in logical units
    double unitsPerInch = 0;    // 0: the units are screen pixels
    qsizetype recordsStart = 0; // where the first record after the headers stands
};

// Writers get the header's count of objects wrong at times: the table is as large as GDI's.
constexpr uint32_t kObjectTableSize = 65536;

// Logical units per inch of the fixed mapping modes; 0 for the others (pixels).
double unitsPerInchOfMapMode(int mode)
{
    switch (mode) {
    case U_MM_LOMETRIC:
        return 254;
    case U_MM_HIMETRIC:
        return 2540;
    case U_MM_LOENGLISH:
        return 100;
    case U_MM_HIENGLISH:
        return 1000;
    case U_MM_TWIPS:
        return 1440;
    default:
        return 0;
    }
}

// Walks the headers and every record: each must lie inside the file, and the last one must be
// the end record. Without a placeable header the frame is the window the records set first.
// Why the metafile is damaged, when it is.
Outcome<void> walkRecords(const QByteArray& data, WmfLayout& layout)
{
    const char* begin = data.constData();
    const char* end = begin + data.size();
    U_WMRPLACEABLE placeable;
    U_WMRHEADER header;
    const int headerBytes = wmfheader_get(begin, end, &placeable, &header);
    if (headerBytes == 0)
        return Unexpected(QStringLiteral("it ends inside its header"));
    if (header.Size16w * 2 != U_SIZE_WMRHEADER)
        return Unexpected(QStringLiteral("its header is not a metafile header"));
    layout.recordsStart = headerBytes;
    const bool isPlaceable = placeable.Key == 0x9ac6cdd7u;
    if (isPlaceable) {
        const U_RECT16& bounds = placeable.Dst;
        layout.frame =
            QRectF(QPointF(bounds.left, bounds.top), QPointF(bounds.right, bounds.bottom))
                .normalized();
        layout.unitsPerInch = placeable.Inch;
        if (layout.unitsPerInch == 0)
            return Unexpected(QStringLiteral("its header gives no units per inch"));
    }

    int mapMode = U_MM_TEXT;
    QPointF windowOrg;
    bool windowSet = isPlaceable;
    for (const char* at = begin + headerBytes;;) {
        if (end - at < qsizetype(U_SIZE_METARECORD))
            return Unexpected(QStringLiteral("it ends before its last record"));
        const std::size_t size = U_WMRRECSAFE_get(at, end);
        if (size == 0)
            return Unexpected(QStringLiteral("a record at byte %1 runs past the end of the file")
                                  .arg(at - begin));
        const WmfRecord record(at, size);
        if (record.function() == 0) // the end record
            break;
        const auto type = uint8_t(record.function() & U_WMR_MASK);
        uint16_t mode;
        U_POINT16 point;
        if (type == U_WMR_SETMAPMODE && U_WMRSETMAPMODE_get(record.data(), &mode))
            mapMode = mode;
        if (type == U_WMR_SETWINDOWORG && U_WMRSETWINDOWORG_get(record.data(), &point))
            windowOrg = QPointF(point.x, point.y);
        if (!windowSet && type == U_WMR_SETWINDOWEXT &&
            U_WMRSETWINDOWEXT_get(record.data(), &point)) {
            layout.frame = QRectF(windowOrg, QSizeF(point.x, point.y)).normalized();
            layout.unitsPerInch = unitsPerInchOfMapMode(mapMode);
            windowSet = true;
        }
        at += size;
    }
    if (layout.frame.isEmpty())
        return Unexpected(QStringLiteral("it gives no picture size"));
    return {};
}

// The picture's size in pixels: its frame at the screen's resolution, or in its own units when
// those are pixels.
QSize pixelSize(const WmfLayout& layout)
{
    const QSizeF size = layout.frame.size();
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
    if (!walkRecords(data, layout))
        return std::nullopt;
    return pixelSize(layout);
}

LoadedPicture renderWmf(const QByteArray& data, const QString& file)
{
    WmfLayout layout;
    if (const Outcome<void> sound = walkRecords(data, layout); !sound)
        return Unexpected(damagedError(file, sound.error()));

    const QSize size = pixelSize(layout);
    if (size.width() < 1 || size.height() < 1)
        return Unexpected(damagedError(file, QStringLiteral("it is smaller than a pixel")));
    if (!pictureSizeAllowed(size.width(), size.height()))
        return Unexpected(tooLargeError(file, size.width(), size.height()));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return Unexpected(tooLargeError(file, size.width(), size.height()));
    image.fill(Qt::white);

    // The device is the picture; the frame is mapped onto it until the records map otherwise.
    const QSizeF pixelsPerMm(1440 / Screen::twipsPerPixelX() / 25.4,
                             1440 / Screen::twipsPerPixelY() / 25.4);
    QString overLimit;
    {
        MetafilePainter painter(image, QTransform(), pixelsPerMm, kObjectTableSize);
        DeviceContext& dc = painter.dc();
        dc.mapMode = U_MM_ANISOTROPIC;
        dc.windowOrg = layout.frame.topLeft();
        dc.windowExt = layout.frame.size();
        dc.viewportExt = QSizeF(size);
        const char* end = data.constData() + data.size();
        for (const char* at = data.constData() + layout.recordsStart; overLimit.isEmpty();) {
            const WmfRecord record(at, U_WMRRECSAFE_get(at, end));
            if (record.function() == 0)
                break;
            playWmfRecord(painter, record);
            overLimit = painter.overLimit();
            at += record.size();
        }
    }
    if (!overLimit.isEmpty())
        return Unexpected(refusedError(file, overLimit));
    return image;
}

} // namespace tilemond
