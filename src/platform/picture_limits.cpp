#include "platform/picture_limits.h"

#include "platform/rounding.h"
#include "platform/screen_metrics.h"

#include <QLocale>

namespace tilemond {

bool pictureSizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

QString tooLargeError(const QString& file, qint64 width, qint64 height)
{
    const QLocale c = QLocale::c();
    return QStringLiteral("%1 is too large: %2 x %3 pixels (at most %4 pixels a side and %5 "
                          "pixels in all)")
        .arg(file)
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide)
        .arg(c.toString(kMaxPicturePixels));
}

QString damagedError(const QString& file, const QString& why)
{
    return QStringLiteral("%1 is damaged: %2").arg(file, why);
}

qint64 screenPixelsX(double inches)
{
    return roundToEven(inches * 1440.0 / Screen::twipsPerPixelX());
}

qint64 screenPixelsY(double inches)
{
    return roundToEven(inches * 1440.0 / Screen::twipsPerPixelY());
}

} // namespace tilemond
