#include "page/page_file.h"

#include "page/page_shape.h"
#include "pictures/bounded_read.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilemond::host {

namespace {

// Far beyond any page written by hand or by an editor (the largest one-page manuals weigh some
// 15 MB); a page takes the parser a few times its size and a second a few megabytes.
constexpr qint64 kMaxPageBytes = qint64(64) << 20;

Unexpected failure(const QString& what, const QString& path, const QString& reason)
{
    return Unexpected(
        QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(path), reason));
}

QString quoted(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

// Names the folder on the way to `folder` that a reason is about ("\"/a\": "); nothing for
// `folder` itself, which the message names already.
QString where(const QString& path, const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) == path
               ? QString()
               : quoted(path) + QStringLiteral(": ");
}

// Whether bytes read as a page are text; not with a NUL near the start, or the signature of a
// picture, a document or an archive.
Outcome<void> checkText(std::string_view bytes)
{
    if (bytes.substr(0, 4096).find('\0') != std::string_view::npos)
        return Unexpected(QStringLiteral("it is not a page: it holds bytes that are not text."));
    static constexpr std::string_view signatures[] = {
        "\x89PNG", "GIF87a", "GIF89a", "\xFF\xD8\xFF", "%PDF-", "PK\x03\x04", "\x1F\x8B",
        "BZh",     "\xFD" "7zXZ", "7z\xBC\xAF", "\x7F" "ELF", "RIFF"};
    for (const std::string_view signature : signatures)
        if (bytes.starts_with(signature))
            return Unexpected(
                QStringLiteral("it is not a page: it is a picture, a document or an archive."));
    return {};
}

// Calls sync (fsync or syncfs) on the folder's handle; a folder that cannot be opened is passed.
void onFolder(const QString& folder, int (*sync)(int))
{
    const int handle =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    sync(handle);
    ::close(handle);
}

// Pushes what was written to the file onto the disk.
Outcome<void> syncFile(QFileDevice& file)
{
    if (::fsync(file.handle()) != 0)
        return Unexpected(systemReason(errno));
    return {};
}

// Writes all the bytes; a short write is tried again, so that a full disk reports its own
// reason.
Outcome<void> writeWhole(QFileDevice& file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (written <= 0)
            return Unexpected(file.errorString());
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (!file.flush())
        return Unexpected(file.errorString());
    return {};
}

} // namespace

Outcome<void> readPageFile(const QString& path, std::string& bytes)
{
    const QString what = QStringLiteral("Cannot open the page");
    if (!QFileInfo::exists(path))
        return failure(what, path, QStringLiteral("there is no such file."));
    if (QFileInfo(path).isDir())
        return failure(what, path, QStringLiteral("it is a folder, not a file."));
    const Outcome<QByteArray> content = readRegularFile(path, kMaxPageBytes);
    if (!content)
        return failure(what, path, content.error() + QLatin1Char('.'));
    const std::string_view text(content->constData(), std::size_t(content->size()));
    if (const Outcome<void> isText = checkText(text); !isText)
        return failure(what, path, isText.error());
    if (const Outcome<void> bounded = checkParserBounds(text); !bounded)
        return failure(what, path, bounded.error() + QLatin1Char('.'));
    bytes.assign(text);
    return {};
}

Outcome<void> checkPageTarget(const QString& path)
{
    const QString what = QStringLiteral("Cannot save");
    const QByteArray name = QFile::encodeName(path);
    struct stat status
    {
    };
    if (::stat(name.constData(), &status) != 0) {
        if (::lstat(name.constData(), &status) == 0)
            return failure(what, path, QStringLiteral("it is a link to nothing."));
        return {};
    }
    if (S_ISDIR(status.st_mode))
        return failure(what, path, QStringLiteral("it is a folder, not a file."));
    if (!S_ISREG(status.st_mode))
        return failure(what, path,
                       QStringLiteral("it is not a regular file (a device, a pipe or a "
                                      "socket); a page is only written over a regular file."));
    return {};
}

Outcome<void> writeFileAtomically(const QString& path, std::string_view bytes)
{
    const QString what = QStringLiteral("Cannot save");
    if (Outcome<void> target = checkPageTarget(path); !target)
        return target;
    struct stat old
    {
    };
    const bool replaces = ::stat(QFile::encodeName(path).constData(), &old) == 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(what, path, file.errorString());
    if (replaces) {
        // The page stays whose it was and as readable as it was. Only root may give a file
        // away; anyone else keeps their own.
        ::fchmod(file.handle(), old.st_mode & 07777);
        if (::fchown(file.handle(), old.st_uid, old.st_gid) == 0)
            ::fchmod(file.handle(), old.st_mode & 07777); // chown clears set-id bits
    }
    Outcome<void> written = writeWhole(file, bytes);
    if (written)
        written = syncFile(file);
    if (!written) {
        file.cancelWriting();
        return failure(what, path, written.error());
    }
    if (!file.commit())
        return failure(what, path, file.errorString());
    syncFolder(QFileInfo(path).absolutePath());
    return {};
}

Outcome<void> writeNewFile(const QString& path, std::string_view bytes)
{
    const QString what = QStringLiteral("Cannot save");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return failure(what, path,
                       QFileInfo::exists(path) ? QStringLiteral("a file of that name is there.")
                                               : file.errorString());
    if (const Outcome<void> written = writeWhole(file, bytes); !written) {
        file.remove();
        return failure(what, path, written.error());
    }
    return {};
}

Outcome<void> renameNewFile(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    int result = ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                             RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without the flag: a hard link cannot replace a file either.
        result = ::link(source.constData(), target.constData());
        if (result == 0)
            ::unlink(source.constData());
    }
    if (result == 0)
        return {};
    return failure(QStringLiteral("Cannot save"), to,
                   errno == EEXIST ? QStringLiteral("a file of that name is there.")
                                   : systemReason(errno) + QLatin1Char('.'));
}

Outcome<void> linkNewFile(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    struct stat status
    {
    };
    if (::lstat(source.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return failure(QStringLiteral("Cannot save"), to,
                       QStringLiteral("its unsaved copy %1 is gone or no longer a regular file.")
                           .arg(quoted(from)));
    if (::link(source.constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    if (errno == EEXIST)
        return failure(QStringLiteral("Cannot save"), to,
                       QStringLiteral("a file of that name is there."));
    const Outcome<QByteArray> bytes = readRegularFile(from, status.st_size);
    if (!bytes)
        return failure(QStringLiteral("Cannot save"), to,
                       QStringLiteral("its unsaved copy %1 cannot be read: %2.")
                           .arg(quoted(from), bytes.error()));
    return writeNewFile(to, std::string_view(bytes->constData(), std::size_t(bytes->size())));
}

Outcome<void> makeFolders(const QString& folder, QStringList& made)
{
    const QString what = QStringLiteral("Cannot make the folder");
    QStringList missing; // deepest first
    for (QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());;
         path = QFileInfo(path).absolutePath()) {
        const QByteArray name = QFile::encodeName(path);
        struct stat status
        {
        };
        if (::stat(name.constData(), &status) == 0) {
            if (!S_ISDIR(status.st_mode))
                return failure(what, folder,
                               QStringLiteral("a file is in the way: %1 is not a folder.")
                                   .arg(quoted(path)));
            break;
        }
        if (errno != ENOENT && errno != ENOTDIR) // not a directory: a file above is in the way
            return failure(what, folder, where(path, folder) + systemReason(errno) + '.');
        if (::lstat(name.constData(), &status) == 0)
            return failure(what, folder, QStringLiteral("%1 is a link to nothing.").arg(quoted(path)));
        missing << path;
    }
    for (auto path = missing.crbegin(); path != missing.crend(); ++path) {
        if (::mkdir(QFile::encodeName(*path).constData(), 0777) != 0) {
            if (errno == EEXIST && QFileInfo(*path).isDir())
                continue; // made by someone else meanwhile
            return failure(what, folder, where(*path, folder) + systemReason(errno) + '.');
        }
        made.prepend(*path);
    }
    return {};
}

void syncFolder(const QString& folder)
{
    onFolder(folder, ::fsync);
}

void syncFileSystemOf(const QString& folder)
{
    onFolder(folder, ::syncfs);
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
