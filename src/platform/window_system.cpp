#include "platform/window_system.h"

#include "platform/window_geometry.h"

namespace tilemond {
namespace {

QtWindowSystem g_qtWindowSystem;
WindowSystem* g_installed = nullptr;

void show(QWidget* window, bool activate)
{
    const bool before = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, before);
}

} // namespace

WindowSystem& windowSystem()
{
    return g_installed ? *g_installed : g_qtWindowSystem;
}

void installWindowSystem(WindowSystem* system)
{
    g_installed = system;
}

bool QtWindowSystem::setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx, int cy,
                                  unsigned flags)
{
    if (!window || !window->isWindow())
        return false;
    const bool visible = window->isVisible() || (flags & WindowPosFlags::ShowWindow);
    if (insertAfter == WindowZOrder::Topmost || insertAfter == WindowZOrder::NotTopmost) {
        const bool onTop = insertAfter == WindowZOrder::Topmost;
        // Changing a window's flags hides it; it is shown again below.
        if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
            window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
    setOuterGeometry(window, QRect(x, y, cx, cy));
    if (visible)
        show(window, !(flags & WindowPosFlags::NoActivate));
    if (insertAfter == WindowZOrder::Topmost)
        window->raise();
    return true;
}

bool RecordingWindowSystem::setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx,
                                         int cy, unsigned flags)
{
    m_calls.push_back({window, insertAfter, x, y, cx, cy, flags});
    return m_qt.setWindowPos(window, insertAfter, x, y, cx, cy, flags);
}

} // namespace tilemond
