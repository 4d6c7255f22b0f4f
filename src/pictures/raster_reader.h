#pragma once

#include "pictures/picture_file.h"

#include <QByteArray>

namespace tilemond {

// Decodes the bytes of a bmp, jpg, gif (first frame) or png file through Qt's image readers,
// refusing pictures beyond the limits before any pixel is decoded. `format` is Qt's format
// name, `file` the name that messages show.
LoadedPicture readRasterPicture(const QByteArray& data, const QByteArray& format,
                                const QString& file);

} // namespace tilemond
