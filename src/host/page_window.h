#pragma once

#include "host_api/application.h"
#include "page/page_model.h"

namespace tilemond::host {

// The window that shows the open page; outlives neither the page nor the host.
class HostPageWindow final : public PageWindow
{
public:
    HostPageWindow(std::weak_ptr<PageModel> model, std::weak_ptr<std::function<void()>> refresh)
        : m_model(std::move(model)), m_refresh(std::move(refresh))
    {
    }

    DocumentPtr document() override;
    void Refresh() override;

private:
    std::weak_ptr<PageModel> m_model;
    std::weak_ptr<std::function<void()>> m_refresh;
};

} // namespace tilemond::host
