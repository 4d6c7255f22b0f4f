#include "pictures/png_encoding.h"

#include "pictures/png_writer.h"

namespace tilemond::host {

namespace {

// libdeflate's level 3: pieces no larger than zlib's level 4 made them, at half its time.
constexpr int CompressionLevel = 3;

} // namespace

EncodedPicture encodePng(const QImage& picture)
{
    QByteArray bytes = writePng(picture, CompressionLevel);
    if (bytes.isEmpty())
        return Unexpected(QStringLiteral("there is not enough memory to encode it."));
    return bytes;
}

} // namespace tilemond::host
