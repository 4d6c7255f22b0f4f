#include "platform/window_geometry.h"

#include "platform/screen_metrics.h"

#include <QWidget>

namespace tilemond {
namespace {

QSize frameExtra(const QWidget* window)
{
    return outerGeometry(window).size() - window->geometry().size();
}

} // namespace

void setClientSize(QWidget* window, QSize size)
{
    size = size.expandedTo(QSize(0, 0));
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(size);
    else
        window->resize(size);
}

QRect outerGeometry(const QWidget* window)
{
    // While the window manager is still framing a window, Qt may measure the frame from a frame
    // window not yet grown to the client, and keeps that until the window is configured again: a
    // frame that does not hold the client is not known yet.
    const QRect frame = window->frameGeometry();
    return frame.contains(window->geometry()) ? frame : window->geometry();
}

void setOuterGeometry(QWidget* window, const QRect& pixels)
{
    // The native window knows its frame once it exists.
    window->winId();
    window->move(pixels.topLeft());
    setClientSize(window, pixels.size() - frameExtra(window));
}

QRectF outerTwips(const QWidget* window)
{
    const QRect outer = outerGeometry(window);
    const float x = Screen::twipsPerPixelX();
    const float y = Screen::twipsPerPixelY();
    return {outer.x() * x, outer.y() * y, outer.width() * x, outer.height() * y};
}

void setOuterWidthTwips(QWidget* window, float width)
{
    QRect outer = outerGeometry(window);
    outer.setWidth(Screen::pixelsX(width));
    setOuterGeometry(window, outer);
}

void setOuterHeightTwips(QWidget* window, float height)
{
    QRect outer = outerGeometry(window);
    outer.setHeight(Screen::pixelsY(height));
    setOuterGeometry(window, outer);
}

void moveTwips(QWidget* window, float left, float top)
{
    window->move(Screen::pixelsX(left), Screen::pixelsY(top));
}

} // namespace tilemond
