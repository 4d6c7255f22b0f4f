#include "pictures/picture_limits.h"

#include "platform/rounding.h"
#include "platform/screen_metrics.h"

#include <QLocale>

#include <algorithm>
#include <atomic>

namespace tilemond {
namespace {

std::atomic<qint64> g_maxPicturePixels = kDefaultMaxPicturePixels;

} // namespace

qint64 maxPicturePixels()
{
    return g_maxPicturePixels;
}

void setMaxPicturePixels(qint64 pixels)
{
    g_maxPicturePixels = std::clamp<qint64>(pixels, 1, kHighestMaxPicturePixels);
}

bool pictureSizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= maxPicturePixels();
}

QString tooLargeError(const QString& file, qint64 width, qint64 height)
{
    const QLocale c = QLocale::c();
    return QStringLiteral("%1 is too large: %2 x %3 pixels (at most %4 pixels a side and %5 "
                          "pixels in all; --max-pixels allows more)")
        .arg(file)
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide)
        .arg(c.toString(maxPicturePixels()));
}

QString damagedError(const QString& file, const QString& why)
{
    return QStringLiteral("%1 is damaged: %2").arg(file, why);
}

QString refusedError(const QString& file, const QString& why)
{
    return QStringLiteral("%1 is refused: %2").arg(file, why);
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
