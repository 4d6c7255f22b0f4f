#include "host/page_file.h"

#include "host/page_shape.h"
#include "platform/bounded_read.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace tilemond::host {

namespace {

// Far beyond any page written by hand or by an editor; keeps a stray file from filling memory.
constexpr qint64 kMaxPageBytes = qint64(256) << 20;

QString failure(const QString& what, const QString& path, const QString& reason)
{
    return QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(path), reason);
}

// Writes all the bytes; a short write is tried again, so that a full disk reports its own
// reason. Empty on success.
QString writeWhole(QFileDevice& file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (written <= 0)
            return file.errorString();
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return file.flush() ? QString() : file.errorString();
}

} // namespace

FileError readPageFile(const QString& path, std::string& bytes)
{
    const QString what = QStringLiteral("Cannot open the page");
    if (!QFileInfo::exists(path))
        return failure(what, path, QStringLiteral("there is no such file."));
    if (QFileInfo(path).isDir())
        return failure(what, path, QStringLiteral("it is a folder, not a file."));
    QByteArray content;
    if (const QString reason = readRegularFile(path, kMaxPageBytes, content); !reason.isEmpty())
        return failure(what, path, reason + QLatin1Char('.'));
    if (const std::string beyond =
            beyondParserBounds(std::string_view(content.constData(), std::size_t(content.size())));
        !beyond.empty())
        return failure(what, path, QString::fromStdString(beyond) + QLatin1Char('.'));
    bytes.assign(content.constData(), content.size());
    return std::nullopt;
}

FileError writeFileAtomically(const QString& path, std::string_view bytes)
{
    const QString what = QStringLiteral("Cannot save");
    if (QFileInfo(path).isDir())
        return failure(what, path, QStringLiteral("it is a folder, not a file."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(what, path, file.errorString());
    if (const QString reason = writeWhole(file, bytes); !reason.isEmpty()) {
        file.cancelWriting();
        return failure(what, path, reason);
    }
    if (!file.commit())
        return failure(what, path, file.errorString());
    return std::nullopt;
}

FileError writeNewFile(const QString& path, std::string_view bytes)
{
    const QString what = QStringLiteral("Cannot save");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return failure(what, path,
                       QFileInfo::exists(path) ? QStringLiteral("a file of that name is there.")
                                               : file.errorString());
    if (const QString reason = writeWhole(file, bytes); !reason.isEmpty()) {
        file.remove();
        return failure(what, path, reason);
    }
    return std::nullopt;
}

FileStamp stampOf(const QString& path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {true, qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            quint64(status.st_dev), quint64(status.st_ino)};
}

} // namespace tilemond::host
