#include "pictures/bounded_read.h"

#include <QFile>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilemond {
namespace {

// Closes the handle on every way out.
struct Handle
{
    explicit Handle(int fd) : fd(fd) {}
    ~Handle()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int fd;
};

} // namespace

QString systemReason(int error)
{
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return reason;
}

Outcome<QByteArray> readRegularFile(const QString& path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.contains('\0'))
        return Unexpected(QStringLiteral("the name is not a valid file name"));
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const Handle file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.fd < 0)
        return Unexpected(systemReason(errno));
    struct stat status
    {
    };
    if (::fstat(file.fd, &status) != 0)
        return Unexpected(systemReason(errno));
    if (S_ISDIR(status.st_mode))
        return Unexpected(QStringLiteral("it is a folder"));
    if (!S_ISREG(status.st_mode))
        return Unexpected(QStringLiteral("it is not a regular file"));
    if (status.st_size > maxBytes)
        return Unexpected(QStringLiteral("it is too large: %1 bytes (at most %2 bytes)")
                              .arg(QLocale::c().toString(qint64(status.st_size)),
                                   QLocale::c().toString(maxBytes)));

    // Reads what the file holds now, and never more than the bound, should it grow meanwhile.
    QByteArray content(qsizetype(status.st_size), Qt::Uninitialized);
    qint64 got = 0;
    while (got < content.size()) {
        const ssize_t n = ::read(file.fd, content.data() + got, size_t(content.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Unexpected(systemReason(errno));
        if (n == 0)
            break;
        got += n;
    }
    content.truncate(qsizetype(got));
    return content;
}

} // namespace tilemond
