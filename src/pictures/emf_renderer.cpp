#include "pictures/emf_renderer.h"

#include "pictures/emf_records.h"
#include "pictures/metafile_painter.h"
#include "pictures/picture_limits.h"

#include <climits>
#include <cstring>

extern "C" {
#include <uemf.h>
#include <uemf_safe.h>
}

namespace tilemond {
namespace {

// Checks that the records tile the file from the header to the end record, each whole and
// sound by libuemf's checks; why the file is damaged when they do not.
Outcome<void> checkRecords(const QByteArray& data)
{
    qsizetype at = 0;
    for (int index = 0;; ++index) {
        if (at + qsizetype(sizeof(U_EMR)) > data.size())
            return Unexpected(QStringLiteral("it ends before its last record"));
        U_EMR emr;
        std::memcpy(&emr, data.constData() + at, sizeof emr);
        if (emr.nSize < sizeof(U_EMR) || emr.nSize % 4 != 0 || emr.nSize > data.size() - at)
            return Unexpected(
                QStringLiteral("record %1 runs past the end of the file").arg(index + 1));
        if ((index == 0) != (emr.iType == U_EMR_HEADER))
            return Unexpected(QStringLiteral("it does not start with exactly one header"));
        if (emr.iType >= U_EMR_MIN && emr.iType <= U_EMR_MAX &&
            !U_emf_record_safe(data.constData() + at))
            return Unexpected(QStringLiteral("record %1 is broken").arg(index + 1));
        at += emr.nSize;
        if (emr.iType == U_EMR_EOF)
            return {};
    }
}

// The reference device's pixels per millimetre, 96 DPI where the header leaves them out.
QSizeF devicePixelsPerMm(const U_EMRHEADER& header)
{
    const auto perMm = [](int32_t pixels, int32_t mm) {
        return pixels > 0 && mm > 0 ? double(pixels) / mm : 96 / 25.4;
    };
    return QSizeF(perMm(header.szlDevice.cx, header.szlMillimeters.cx),
                  perMm(header.szlDevice.cy, header.szlMillimeters.cy));
}

// The picture's area in 0.01 mm: the frame, or the bounds when the frame is empty.
QRectF pictureArea(const U_EMRHEADER& header, QSizeF pixelsPerMm)
{
    const U_RECTL& f = header.rclFrame;
    if (f.right > f.left && f.bottom > f.top)
        return QRectF(QPointF(f.left, f.top), QPointF(f.right, f.bottom));
    const U_RECTL& b = header.rclBounds;
    if (b.right < b.left || b.bottom < b.top)
        return {};
    return QRectF(b.left * 100.0 / pixelsPerMm.width(), b.top * 100.0 / pixelsPerMm.height(),
                  (double(b.right) - b.left + 1) * 100.0 / pixelsPerMm.width(),
                  (double(b.bottom) - b.top + 1) * 100.0 / pixelsPerMm.height());
}

// What the header says of the picture: the reference device and the picture's area in
// 0.01 mm, and its size in pixels at the screen's resolution.
struct EmfLayout
{
    U_EMRHEADER header{};
    QSizeF pixelsPerMm;
    QRectF area;
    qint64 width = 0;
    qint64 height = 0;
};

// The layout of a metafile whose records are sound.
EmfLayout layoutOf(const QByteArray& data)
{
    EmfLayout layout;
    std::memcpy(&layout.header, data.constData(),
                std::min<size_t>(sizeof layout.header,
                                 reinterpret_cast<const U_EMR*>(data.constData())->nSize));
    layout.pixelsPerMm = devicePixelsPerMm(layout.header);
    layout.area = pictureArea(layout.header, layout.pixelsPerMm);
    layout.width = screenPixelsX(layout.area.width() / 2540);
    layout.height = screenPixelsY(layout.area.height() / 2540);
    return layout;
}

} // namespace

std::optional<QSize> emfPictureSize(const QByteArray& data)
{
    if (!checkRecords(data))
        return std::nullopt;
    const EmfLayout layout = layoutOf(data);
    return QSize(int(std::min<qint64>(layout.width, INT_MAX)),
                 int(std::min<qint64>(layout.height, INT_MAX)));
}

LoadedPicture renderEmf(const QByteArray& data, const QString& file)
{
    if (const Outcome<void> sound = checkRecords(data); !sound)
        return Unexpected(damagedError(file, sound.error()));
    const EmfLayout layout = layoutOf(data);
    const QRectF& area = layout.area;
    const qint64 width = layout.width;
    const qint64 height = layout.height;
    if (area.isEmpty())
        return Unexpected(damagedError(file, QStringLiteral("its header gives no picture size")));
    if (width < 1 || height < 1)
        return Unexpected(damagedError(file, QStringLiteral("it is smaller than a pixel")));
    if (!pictureSizeAllowed(width, height))
        return Unexpected(tooLargeError(file, width, height));

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return Unexpected(tooLargeError(file, width, height));
    image.fill(Qt::white);

    // Reference device pixels -> 0.01 mm -> picture pixels.
    const QSizeF pixelsPerMm = layout.pixelsPerMm;
    const double sx = 100 / pixelsPerMm.width() * width / area.width();
    const double sy = 100 / pixelsPerMm.height() * height / area.height();
    const QTransform deviceToImage(sx, 0, 0, sy, -area.left() * width / area.width(),
                                   -area.top() * height / area.height());
    QString overLimit;
    {
        MetafilePainter painter(image, deviceToImage, pixelsPerMm, layout.header.nHandles);
        for (qsizetype at = 0; overLimit.isEmpty();) {
            const char* record = data.constData() + at;
            playEmfRecord(painter, record);
            overLimit = painter.overLimit();
            const U_EMR* emr = reinterpret_cast<const U_EMR*>(record);
            if (emr->iType == U_EMR_EOF)
                break;
            at += emr->nSize;
        }
    }
    if (!overLimit.isEmpty())
        return Unexpected(refusedError(file, overLimit));
    return image;
}

} // namespace tilemond
