#include "platform/emf_renderer.h"

#include "platform/emf_records.h"
#include "platform/metafile_painter.h"
#include "platform/picture_limits.h"

#include <cstring>

extern "C" {
#include <uemf.h>
#include <uemf_safe.h>
}

namespace tilemond {
namespace {

// Checks that the records tile the file from the header to the end record, each whole and
// sound by libuemf's checks. Returns why the file is damaged, or nothing.
QString checkRecords(const QByteArray& data)
{
    qsizetype at = 0;
    for (int index = 0;; ++index) {
        if (at + qsizetype(sizeof(U_EMR)) > data.size())
            return QStringLiteral("it ends before its last record");
        U_EMR emr;
        std::memcpy(&emr, data.constData() + at, sizeof emr);
        if (emr.nSize < sizeof(U_EMR) || emr.nSize % 4 != 0 || emr.nSize > data.size() - at)
            return QStringLiteral("record %1 runs past the end of the file").arg(index + 1);
        if ((index == 0) != (emr.iType == U_EMR_HEADER))
            return QStringLiteral("it does not start with exactly one header");
        if (emr.iType >= U_EMR_MIN && emr.iType <= U_EMR_MAX &&
            !U_emf_record_safe(data.constData() + at))
            return QStringLiteral("record %1 is broken").arg(index + 1);
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

} // namespace

LoadedPicture renderEmf(const QByteArray& data, const QString& file)
{
    const QString broken = checkRecords(data);
    if (!broken.isEmpty())
        return {{}, damagedError(file, broken)};
    U_EMRHEADER header{};
    std::memcpy(
        &header, data.constData(),
        std::min<size_t>(sizeof header, reinterpret_cast<const U_EMR*>(data.constData())->nSize));

    const QSizeF pixelsPerMm = devicePixelsPerMm(header);
    const QRectF area = pictureArea(header, pixelsPerMm);
    if (area.isEmpty())
        return {{}, damagedError(file, QStringLiteral("its header gives no picture size"))};
    const qint64 width = screenPixelsX(area.width() / 2540);
    const qint64 height = screenPixelsY(area.height() / 2540);
    if (width < 1 || height < 1)
        return {{}, damagedError(file, QStringLiteral("it is smaller than a pixel"))};
    if (!pictureSizeAllowed(width, height))
        return {{}, tooLargeError(file, width, height)};

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {{}, tooLargeError(file, width, height)};
    image.fill(Qt::white);

    // Reference device pixels -> 0.01 mm -> picture pixels.
    const double sx = 100 / pixelsPerMm.width() * width / area.width();
    const double sy = 100 / pixelsPerMm.height() * height / area.height();
    const QTransform deviceToImage(sx, 0, 0, sy, -area.left() * width / area.width(),
                                   -area.top() * height / area.height());
    {
        MetafilePainter painter(image, deviceToImage, pixelsPerMm, header.nHandles);
        for (qsizetype at = 0;;) {
            const char* record = data.constData() + at;
            playEmfRecord(painter, record);
            const U_EMR* emr = reinterpret_cast<const U_EMR*>(record);
            if (emr->iType == U_EMR_EOF)
                break;
            at += emr->nSize;
        }
    }
    return {image, {}};
}

} // namespace tilemond
