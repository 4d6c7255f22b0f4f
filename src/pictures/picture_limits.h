#pragma once

#include <QString>
#include <QtGlobal>

namespace tilemond {

// Bounds for every decoded picture: the window system takes sides up to 32767 pixels, and
// 2^25 pixels (128 MiB at four bytes a pixel, 5792 x 5792) keep a split of a picture, its
// pieces and their files under half a gigabyte (2^26 took 926 MB). A few bytes of a picture file can announce any size, so a larger
// picture is read only when the user allows it (--max-pixels), up to 2^30 pixels.
inline constexpr qint64 kMaxPictureSide = 32767;
inline constexpr qint64 kDefaultMaxPicturePixels = qint64(1) << 25;
inline constexpr qint64 kHighestMaxPicturePixels = qint64(1) << 30;

qint64 maxPicturePixels();
// Clamped to 1 .. kHighestMaxPicturePixels.
void setMaxPicturePixels(qint64 pixels);

bool pictureSizeAllowed(qint64 width, qint64 height);

QString tooLargeError(const QString& file, qint64 width, qint64 height);
QString damagedError(const QString& file, const QString& why);
// A picture that asks for more work than any picture needs.
QString refusedError(const QString& file, const QString& why);

// A length in inches as whole pixels at the screen's resolution (1440 / twips per pixel).
qint64 screenPixelsX(double inches);
qint64 screenPixelsY(double inches);

} // namespace tilemond
