#include "platform/window_system.h"

#include "platform/window_geometry.h"

#include <QWindow>

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

// Changes the band of the native window in place: QWidget::setWindowFlags would make the window
// anew, and a window made anew is mapped again and takes the focus from whatever program the
// user went to.
void setStaysOnTop(QWidget* window, bool onTop)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == window->windowFlags())
        return;
    window->overrideWindowFlags(flags);
    if (QWindow* native = window->windowHandle())
        native->setFlags(flags);
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
    if (insertAfter == WindowZOrder::Topmost || insertAfter == WindowZOrder::NotTopmost)
        setStaysOnTop(window, insertAfter == WindowZOrder::Topmost);
    if (const QRect wanted(x, y, cx, cy); outerGeometry(window) != wanted)
        setOuterGeometry(window, wanted);
    if (!window->isVisible() && (flags & WindowPosFlags::ShowWindow))
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
