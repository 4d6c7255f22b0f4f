#include "host/page_window.h"

#include "page/page_document.h"

namespace tilemond::host {

DocumentPtr HostPageWindow::document()
{
    return m_model.expired() ? nullptr : std::make_shared<PageDocument>(m_model);
}

void HostPageWindow::Refresh()
{
    if (const auto refresh = m_refresh.lock(); refresh && *refresh)
        (*refresh)();
}

} // namespace tilemond::host
