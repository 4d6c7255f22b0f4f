#include "editor/title_strip_drag.h"

#include "editor/frm_filters.h"
#include "editor/topmost.h"
#include "platform/rounding.h"
#include "platform/screen_metrics.h"
#include "platform/window_geometry.h"

#include <QMouseEvent>

namespace tilemond {
namespace {

constexpr int LeftButton = 1;

int buttonValue(Qt::MouseButtons buttons)
{
    return (buttons.testFlag(Qt::LeftButton) ? LeftButton : 0) |
           (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

} // namespace

TitleStripDrag::TitleStripDrag(FiltersForm& editor) : QObject(&editor), m_editor(editor) {}

void TitleStripDrag::watch(QWidget* control)
{
    control->installEventFilter(this);
}

void TitleStripDrag::press(int Button, float X, float Y)
{
    if (Button == LeftButton) {
        m_editor.DragStartX = roundToEven(X);
        m_editor.DragStartY = roundToEven(Y);
        m_editor.setCursor(Qt::SizeAllCursor);
        m_editor.DragActive = true;
    }
    SetTopmost(m_editor, true);
}

void TitleStripDrag::move(int Button, float X, float Y)
{
    if (!(Button & LeftButton) || !m_editor.DragActive)
        return;
    const QRectF window = outerTwips(&m_editor);
    moveTwips(&m_editor, window.left() + X - m_editor.DragStartX,
              window.top() + Y - m_editor.DragStartY);
}

void TitleStripDrag::release(int Button)
{
    if (Button != LeftButton)
        return;
    m_editor.unsetCursor();
    m_editor.DragActive = false;
}

bool TitleStripDrag::eventFilter(QObject*, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const float x = float(mouse->position().x() * Screen::twipsPerPixelX());
    const float y = float(mouse->position().y() * Screen::twipsPerPixelY());
    if (type == QEvent::MouseButtonPress)
        press(buttonValue(mouse->button()), x, y);
    else if (type == QEvent::MouseMove)
        move(buttonValue(mouse->buttons()), x, y);
    else
        release(buttonValue(mouse->button()));
    return true;
}

} // namespace tilemond
