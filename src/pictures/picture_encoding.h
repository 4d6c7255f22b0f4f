#pragma once

#include "pictures/picture_format.h"
#include "pictures/png_encoding.h"

namespace tilemond::host {

// The picture as a file of the format's type, which decidedFor has made concrete. A PNG is
// written indexed where that keeps every pixel and is smaller.
EncodedPicture encodePicture(const QImage& picture, const PictureFormat& format);

} // namespace tilemond::host
