#pragma once

#include "host_api/command_bars.h"
#include "host_api/event.h"
#include "host_api/page_document.h"

#include <memory>

// The page editor as the add-in reaches it.
namespace tilemond::host {

class PageWindow
{
public:
    virtual ~PageWindow() = default;
    virtual DocumentPtr document() = 0;
    // Re-renders the page view (nothing to do without one).
    virtual void Refresh() = 0;
};
using PageWindowPtr = std::shared_ptr<PageWindow>;

class Application
{
public:
    using WindowHandler = std::function<void(PageWindow* window)>;

    virtual ~Application() = default;
    // The page being edited, fetched afresh for each use; nullptr without a page.
    virtual DocumentPtr activeDocument() = 0;
    virtual PageWindowPtr activeWindow() = 0;
    virtual CommandBarsPtr commandBars() = 0;
    // Raised when the host application becomes active or inactive.
    virtual Connection onWindowActivate(WindowHandler handler) = 0;
    virtual Connection onWindowDeactivate(WindowHandler handler) = 0;
};
using ApplicationPtr = std::shared_ptr<Application>;

} // namespace tilemond::host
