#pragma once

#include <QString>
#include <QtGlobal>

namespace tilemond {

// Bounds for every decoded picture: the window system takes sides up to 32767 pixels, and
// 2^28 pixels (1 GiB at four bytes a pixel) keep one picture well within memory.
inline constexpr qint64 kMaxPictureSide = 32767;
inline constexpr qint64 kMaxPicturePixels = qint64(1) << 28;

bool pictureSizeAllowed(qint64 width, qint64 height);

QString tooLargeError(const QString& file, qint64 width, qint64 height);
QString damagedError(const QString& file, const QString& why);

// A length in inches as whole pixels at the screen's resolution (1440 / twips per pixel).
qint64 screenPixelsX(double inches);
qint64 screenPixelsY(double inches);

} // namespace tilemond
