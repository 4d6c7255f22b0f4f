#include "pictures/raster_reader.h"

#include "pictures/picture_limits.h"
#include "pictures/png_reader.h"
#include "pictures/raster_headers.h"
#include "platform/held_picture.h"

#include <QBuffer>
#include <QImageReader>

namespace tilemond {
namespace {

// Qt refuses images beyond its own allocation limit (256 MB by default); ours is the pixel
// bound, so the reader may take what that bound allows at four bytes a pixel and some room.
int allocationLimitMb()
{
    return int(maxPicturePixels() * 4 / (1024 * 1024)) + 64;
}

QString plainReason(QString reason)
{
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return reason;
}

} // namespace

LoadedPicture readRasterPicture(QByteArray data, const QByteArray& format, const QString& file)
{
    const auto announced = announcedSize(data, format);
    if (announced && !pictureSizeAllowed(announced->width, announced->height))
        return Unexpected(tooLargeError(file, announced->width, announced->height));
    const QString cutShort = QStringLiteral("its picture data is cut short or broken");
    if (format == "png" && announced) {
        // Past its header Qt's reader reserves what any chunk before IDAT says, even beyond the
        // file's end: such a file is refused before it looks.
        if (!pictureDataComplete(data, format))
            return Unexpected(damagedError(file, cutShort));
        if (std::optional<QImage> image = readPlainPng(data))
            return heldPicture(std::move(*image));
    }

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(allocationLimitMb());
    reader.setAutoTransform(true); // photos stand upright as their camera tag says
    const QSize size = reader.size();
    if (!size.isValid())
        return Unexpected(damagedError(file, QStringLiteral("its header cannot be read")));
    if (!pictureSizeAllowed(size.width(), size.height()))
        return Unexpected(tooLargeError(file, size.width(), size.height()));
    if (!pictureDataComplete(data, format))
        return Unexpected(damagedError(file, cutShort));

    QImage image;
    if (!reader.read(&image))
        return Unexpected(damagedError(file, plainReason(reader.errorString())));
    return heldPicture(std::move(image));
}

} // namespace tilemond
