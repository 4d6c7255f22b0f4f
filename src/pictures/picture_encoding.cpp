#include "pictures/picture_encoding.h"

#include "pictures/jpeg_writer.h"
#include "pictures/palette_picture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QPainter>

namespace tilemond::host {

namespace {

EncodedPicture encodeLosslessPng(const QImage& picture)
{
    EncodedPicture truecolour = encodePng(picture);
    const std::optional<QImage> indexed = paletteCopy(picture);
    if (!indexed || !truecolour)
        return truecolour;
    EncodedPicture palette = encodePng(*indexed);
    const bool smaller = palette && palette->size() < truecolour->size();
    return smaller ? palette : truecolour;
}

// JPEG has no see-through pixels: they show the white of a page without a background.
QImage opaque(const QImage& picture)
{
    if (!picture.hasAlphaChannel())
        return picture;
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.setColorSpace(picture.colorSpace());
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    return flat;
}

EncodedPicture encodeJpeg(const QImage& picture, int quality)
{
    QByteArray bytes = writeJpeg(opaque(picture), quality);
    if (bytes.isEmpty())
        return Unexpected(QStringLiteral("there is not enough memory to encode it."));
    return bytes;
}

EncodedPicture encodeWithQt(const QImage& picture, const char* type, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, type);
    if (!writer.canWrite())
        return Unexpected(
            QStringLiteral("Qt has no writer for %1 pictures here.").arg(QLatin1String(type)));
    writer.setQuality(quality);
    if (!writer.write(picture))
        return Unexpected(writer.errorString() + QLatin1Char('.'));
    return bytes;
}

} // namespace

EncodedPicture encodePicture(const QImage& picture, const PictureFormat& format)
{
    switch (format.type) {
    case PictureType::Jpeg:
        return encodeJpeg(picture, format.quality);
    case PictureType::Webp:
        // Qt's WebP writer is lossless at the highest quality.
        return encodeWithQt(picture, "webp", format.quality);
    case PictureType::Png:
    case PictureType::Auto:
        break;
    }
    return encodeLosslessPng(picture);
}

} // namespace tilemond::host
