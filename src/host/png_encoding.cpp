#include "host/png_encoding.h"

#include <QBuffer>
#include <QImageWriter>

namespace tilemond::host {

namespace {

// zlib level 4: nearly the size of the default level at a third of its time.
constexpr int PngQuality = 50;

} // namespace

EncodedPicture encodePng(const QImage& picture)
{
    EncodedPicture encoded;
    QBuffer buffer(&encoded.png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(PngQuality);
    if (!writer.write(picture))
        encoded.error = writer.errorString();
    return encoded;
}

} // namespace tilemond::host
