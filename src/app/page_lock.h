#pragma once

#include <QString>

#include <functional>

namespace tilemond::app {

// An advisory lock on a page file, held while the page is read, split and saved, so that two
// splits of one page take turns instead of one saving over the other's work. The second waits
// for the first and then reads the page as the first saved it.
class PageLock
{
public:
    // Waits for the lock; `waiting` is called first when someone else holds it. A page that
    // cannot be opened is not locked: reading it will say why.
    PageLock(const QString& page, const std::function<void()>& waiting);
    ~PageLock();
    PageLock(const PageLock&) = delete;
    PageLock& operator=(const PageLock&) = delete;

private:
    int m_handle = -1;
};

} // namespace tilemond::app
