#include "pictures/picture_file.h"

#include "pictures/bounded_read.h"
#include "pictures/emf_renderer.h"
#include "pictures/picture_limits.h"
#include "pictures/raster_reader.h"
#include "pictures/svg_renderer.h"
#include "pictures/wmf_renderer.h"
#include "platform/held_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace tilemond {
namespace {

enum class Kind { Unknown, Bmp, Jpeg, Gif, Png, Svg, Wmf, Emf };

quint16 le16(const QByteArray& data, qsizetype at)
{
    return data.size() >= at + 2 ? qFromLittleEndian<quint16>(data.constData() + at) : 0;
}

quint32 le32(const QByteArray& data, qsizetype at)
{
    return data.size() >= at + 4 ? qFromLittleEndian<quint32>(data.constData() + at) : 0;
}

Kind kindOf(const QByteArray& data)
{
    if (data.startsWith("BM"))
        return Kind::Bmp;
    if (data.startsWith("\xff\xd8\xff"))
        return Kind::Jpeg;
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return Kind::Gif;
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return Kind::Png;
    if (le32(data, 0) == 0x9ac6cdd7u)
        return Kind::Wmf; // placeable header
    if ((le16(data, 0) == 1 || le16(data, 0) == 2) && le16(data, 2) == 9 &&
        (le16(data, 4) == 0x0100 || le16(data, 4) == 0x0300))
        return Kind::Wmf;
    if (le32(data, 0) == 1 && le32(data, 40) == 0x464d4520u)
        return Kind::Emf;
    if (looksLikeSvg(data))
        return Kind::Svg;
    return Kind::Unknown;
}

LoadedPicture failure(const QString& message)
{
    return Unexpected(message);
}

// The picture at the size `shown` asks for, scaled with a smooth filter.
LoadedPicture scaledTo(LoadedPicture picture, const ShownSize& shown, const QString& file)
{
    if (!picture || !shown)
        return picture;
    const QSize size = shown(picture->size());
    if (size == picture->size())
        return picture;
    if (!pictureSizeAllowed(size.width(), size.height()))
        return failure(tooLargeError(file, size.width(), size.height()));
    return heldPicture(picture->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

LoadedPicture readPicture(QByteArray data, const QString& file, const ShownSize& shown)
{
    if (data.isEmpty())
        return failure(
            QStringLiteral("%1 is not a picture in a known format: it is empty").arg(file));
    switch (kindOf(data)) {
    case Kind::Bmp:
        return scaledTo(readRasterPicture(data, "bmp", file), shown, file);
    case Kind::Jpeg:
        return scaledTo(readRasterPicture(data, "jpeg", file), shown, file);
    case Kind::Gif:
        return scaledTo(readRasterPicture(data, "gif", file), shown, file);
    case Kind::Png:
        return scaledTo(readRasterPicture(std::move(data), "png", file), shown, file);
    case Kind::Svg:
        return renderSvg(data, file, shown);
    case Kind::Wmf:
        return scaledTo(renderWmf(data, file), shown, file);
    case Kind::Emf:
        return scaledTo(renderEmf(data, file), shown, file);
    case Kind::Unknown:
        break;
    }
    return failure(QStringLiteral("%1 is not a picture in a known format").arg(file));
}

} // namespace

LoadedPicture loadPictureFile(const QString& path, const ShownSize& shown)
{
    const QString file = QDir::toNativeSeparators(path);
    if (path.isEmpty())
        return failure(QStringLiteral("cannot open the picture: no file was named"));
    if (!QFileInfo::exists(path))
        return failure(QStringLiteral("cannot open %1: no such file").arg(file));
    Outcome<QByteArray> data = readRegularFile(path, kMaxPictureBytes);
    if (!data)
        return failure(QStringLiteral("cannot open %1: %2").arg(file, data.error()));
    return readPicture(std::move(data).value(), file, shown);
}

bool isPictureData(const QByteArray& data)
{
    return kindOf(data) != Kind::Unknown;
}

LoadedPicture loadPictureData(const QByteArray& data, const QString& name, const ShownSize& shown)
{
    if (data.size() > kMaxPictureBytes)
        return failure(
            QStringLiteral("%1 is too large: more than %2 bytes").arg(name).arg(kMaxPictureBytes));
    return readPicture(data, name, shown);
}

} // namespace tilemond
