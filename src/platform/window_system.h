#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace tilemond {

// Where a window goes in the desktop's z-order.
namespace WindowZOrder {
inline constexpr int Topmost = -1;    // into the always-on-top band
inline constexpr int NotTopmost = -2; // out of it
} // namespace WindowZOrder

namespace WindowPosFlags {
inline constexpr unsigned NoActivate = 0x10;
inline constexpr unsigned ShowWindow = 0x40;
} // namespace WindowPosFlags

// The window system's placing of top-level windows, behind a seam so that tests can read the
// z-order and pixel rectangle that were asked for.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;
    // Puts the window at z-order position `insertAfter` (WindowZOrder) with its outer rectangle
    // at (x, y), cx x cy pixels. Flags: WindowPosFlags. Returns whether it was done.
    virtual bool setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx, int cy,
                              unsigned flags) = 0;
};

// The installed window system; Qt's unless something else was installed.
WindowSystem& windowSystem();
// Installs another window system (not owned); nullptr brings back Qt's.
void installWindowSystem(WindowSystem* system);

// The always-on-top band as the stays-on-top hint of the native window, changed in place; showing
// without activating as WA_ShowWithoutActivating. A window already where it is asked to be is
// neither moved nor shown again.
class QtWindowSystem final : public WindowSystem
{
public:
    bool setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx, int cy,
                      unsigned flags) override;
};

// Records every call, then hands it to Qt's window system so that the windows really move.
class RecordingWindowSystem final : public WindowSystem
{
public:
    struct Call
    {
        QPointer<QWidget> window;
        int insertAfter;
        int x;
        int y;
        int cx;
        int cy;
        unsigned flags;
    };

    const std::vector<Call>& calls() const { return m_calls; }
    void clear() { m_calls.clear(); }

    bool setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx, int cy,
                      unsigned flags) override;

private:
    QtWindowSystem m_qt;
    std::vector<Call> m_calls;
};

} // namespace tilemond
