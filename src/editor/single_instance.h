#pragma once

#include <QPointer>

namespace tilemond {

// A window that exists once: built on first reference, and after an unload built afresh, with
// its design values, by the next reference.
template <class Window> class SingleInstance
{
public:
    Window& get()
    {
        if (!m_window)
            m_window = new Window;
        return *m_window;
    }

    bool isLoaded() const { return !m_window.isNull(); }

    // Hides the window, runs `onUnload` on it and lets the event loop destroy it, so that a
    // window may be unloaded from inside one of its own handlers. Nothing happens when it is
    // not loaded.
    template <class OnUnload> void unload(OnUnload onUnload)
    {
        if (!m_window)
            return;
        Window* window = m_window;
        m_window = nullptr;
        window->hide();
        onUnload(*window);
        window->deleteLater();
    }

private:
    QPointer<Window> m_window;
};

} // namespace tilemond
