#include "app/page_lock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilemond::app {

PageLock::PageLock(const QString& page, const std::function<void()>& waiting)
{
    const QByteArray name = QFile::encodeName(page);
    for (bool told = false;;) {
        m_handle = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        struct stat held
        {
        };
        if (m_handle < 0 || ::fstat(m_handle, &held) != 0 || !S_ISREG(held.st_mode))
            break;
        if (::flock(m_handle, LOCK_EX | LOCK_NB) != 0) {
            if (!told && waiting)
                waiting();
            told = true;
            if (::flock(m_handle, LOCK_EX) != 0)
                break;
        }
        // A save while we waited put a new file under the name: lock that one.
        struct stat named
        {
        };
        if (::stat(name.constData(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            return;
        ::close(m_handle);
    }
    if (m_handle >= 0)
        ::close(m_handle);
    m_handle = -1;
}

PageLock::~PageLock()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

} // namespace tilemond::app
