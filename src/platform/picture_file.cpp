#include "platform/picture_file.h"

#include "platform/bounded_read.h"
#include "platform/emf_renderer.h"
#include "platform/picture_limits.h"
#include "platform/raster_reader.h"
#include "platform/wmf_renderer.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace tilemond {
namespace {

// No picture file of the offered kinds comes near this; it keeps a stray huge file from
// being read into memory whole.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

enum class Kind { Unknown, Bmp, Jpeg, Gif, Png, Wmf, Emf };

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
    return Kind::Unknown;
}

LoadedPicture failure(const QString& message)
{
    return {{}, message};
}

} // namespace

LoadedPicture loadPictureFile(const QString& path)
{
    const QString file = QDir::toNativeSeparators(path);
    if (path.isEmpty())
        return failure(QStringLiteral("cannot open the picture: no file was named"));
    if (!QFileInfo::exists(path))
        return failure(QStringLiteral("cannot open %1: no such file").arg(file));
    QByteArray data;
    if (const QString reason = readRegularFile(path, kMaxFileBytes, data); !reason.isEmpty())
        return failure(QStringLiteral("cannot open %1: %2").arg(file, reason));
    if (data.isEmpty())
        return failure(
            QStringLiteral("%1 is not a picture in a known format: it is empty").arg(file));

    switch (kindOf(data)) {
    case Kind::Bmp:
        return readRasterPicture(data, "bmp", file);
    case Kind::Jpeg:
        return readRasterPicture(data, "jpeg", file);
    case Kind::Gif:
        return readRasterPicture(data, "gif", file);
    case Kind::Png:
        return readRasterPicture(data, "png", file);
    case Kind::Wmf:
        return renderWmf(data, file);
    case Kind::Emf:
        return renderEmf(data, file);
    case Kind::Unknown:
        break;
    }
    return failure(QStringLiteral("%1 is not a picture in a known format").arg(file));
}

} // namespace tilemond
