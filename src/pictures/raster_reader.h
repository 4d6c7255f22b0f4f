#pragma once

#include "pictures/picture_file.h"

#include <QByteArray>

namespace tilemond {

// Decodes the bytes of a bmp, jpg, gif (first frame) or png file through Qt's image readers (the
// commonest PNG files through our own, see readPlainPng), refusing pictures beyond the limits
// before any pixel is decoded. `format` is Qt's format name, `file` the name that messages show.
LoadedPicture readRasterPicture(QByteArray data, const QByteArray& format, const QString& file);

} // namespace tilemond
