#include "pictures/png_encoding.h"

#include "pictures/png_writer.h"

namespace tilemond::host {

namespace {

// libdeflate's level 3: pieces no larger than zlib's level 4 made them, at half its time.
constexpr int CompressionLevel = 3;

} // namespace

EncodedPicture encodePng(const QImage& picture)
{
    EncodedPicture encoded{writePng(picture, CompressionLevel), {}};
    if (encoded.bytes.isEmpty())
        encoded.error = QStringLiteral("there is not enough memory to encode it.");
    return encoded;
}

} // namespace tilemond::host
