#include "platform/window_geometry.h"
#include "platform/window_system.h"

#include <QApplication>
#include <QWindow>
#include <gtest/gtest.h>

namespace tilemond {
namespace {

constexpr unsigned ShowQuietly = WindowPosFlags::NoActivate | WindowPosFlags::ShowWindow;

TEST(QtWindowSystem, TopmostBandGeometryAndQuietShow)
{
    QWidget window;
    window.setFixedSize(50, 40);
    QtWindowSystem system;
    ASSERT_TRUE(
        system.setWindowPos(&window, WindowZOrder::Topmost, 100, 50, 286, 180, ShowQuietly));
    EXPECT_TRUE(window.isVisible()); // a hidden window is shown
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(outerGeometry(&window), QRect(100, 50, 286, 180));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()); // still not resizable by the user
    EXPECT_NE(QApplication::activeWindow(), &window);

    // Out of the band and back: the same native window all along (one made anew would be mapped
    // again and take the focus from another program).
    const WId native = window.winId();
    ASSERT_TRUE(system.setWindowPos(&window, WindowZOrder::NotTopmost, 100, 50, 286, 180, 0));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible()); // a visible window stays visible
    ASSERT_TRUE(
        system.setWindowPos(&window, WindowZOrder::Topmost, 100, 50, 286, 180, ShowQuietly));
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.winId(), native);
    EXPECT_FALSE(system.setWindowPos(nullptr, WindowZOrder::Topmost, 0, 0, 1, 1, ShowQuietly));
}

} // namespace
} // namespace tilemond
