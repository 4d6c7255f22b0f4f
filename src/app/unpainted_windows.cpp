#include "app/unpainted_windows.h"

#include <QCoreApplication>
#include <QEvent>

namespace tilemond::app {

UnpaintedWindows::UnpaintedWindows()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool UnpaintedWindows::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Expose:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::Paint:
        return true;
    default:
        return false;
    }
}

} // namespace tilemond::app
