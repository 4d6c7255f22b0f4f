#include "app/unpainted_windows.h"

#include "layout/page_layout.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tilemond::app {
namespace {

// The top-level widget an event is for: the widget's window, or the widget a window shows.
const QWidget* windowOf(QObject* watched)
{
    if (const auto* widget = qobject_cast<QWidget*>(watched))
        return widget->window();
    if (const auto* window = qobject_cast<QWindow*>(watched))
        for (const QWidget* top : QApplication::topLevelWidgets())
            if (top->windowHandle() == window)
                return top;
    return nullptr;
}

} // namespace

UnpaintedWindows::UnpaintedWindows()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool UnpaintedWindows::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Expose:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::Paint: {
        const QWidget* window = windowOf(watched);
        return !window || !window->property(layout::kPaintedWithoutDesktop).toBool();
    }
    default:
        return false;
    }
}

} // namespace tilemond::app
