#include "editor/window_layout.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "platform/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace tilemond {
namespace {

constexpr int Gap = 8;

// As much of the rectangle as fits on the screen, its top-left corner first.
QPoint keptOn(const QRect& screen, QRect window)
{
    window.moveLeft(
        std::max(screen.left(), std::min(window.left(), screen.right() + 1 - window.width())));
    window.moveTop(
        std::max(screen.top(), std::min(window.top(), screen.bottom() + 1 - window.height())));
    return window.topLeft();
}

void moveOuter(QWidget& window, QPoint to)
{
    if (outerGeometry(&window).topLeft() != to)
        window.move(to);
}

bool editing()
{
    return isFrmFiltersLoaded() && isFrmPreviewLoaded() && frmFilters().formLoaded();
}

// The work area of the preview's screen; empty without a screen.
QRect workArea()
{
    const PreviewForm& preview = frmPreview();
    const QScreen* screen = preview.screen() ? preview.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

void layOutEditorWindows()
{
    if (!editing())
        return;
    PreviewForm& preview = frmPreview();
    FiltersForm& editor = frmFilters();
    const QRect room = workArea();
    if (room.isEmpty())
        return;
    const QSize frame = outerGeometry(&preview).size() - preview.size();
    const QSize e = outerGeometry(&editor).size();

    // The preview as large as the room beside the editor or above it allows, whichever shows more
    // of the picture (beside when both show all of it); a larger picture scrolls.
    const QSize besideClient =
        preview.clientWithin(QSize(room.width() - Gap - e.width(), room.height()) - frame);
    const QSize aboveClient =
        preview.clientWithin(QSize(room.width(), room.height() - Gap - e.height()) - frame);
    const auto area = [](QSize size) { return qint64(size.width()) * size.height(); };
    const bool beside = area(besideClient) >= area(aboveClient);
    const QSize client = beside ? besideClient : aboveClient;
    setClientSize(&preview, client);
    // The size asked for, not the one last reported: the window manager's reports of earlier
    // sizes may still be on their way in.
    const QSize p = client + frame;

    QRect pair;
    QPoint editorOffset;
    if (beside) {
        pair.setSize({p.width() + Gap + e.width(), std::max(p.height(), e.height())});
        editorOffset = {p.width() + Gap, 0};
    } else {
        pair.setSize({std::max(p.width(), e.width()), p.height() + Gap + e.height()});
        editorOffset = {0, p.height() + Gap};
    }
    pair.moveCenter(room.center());
    const QPoint corner = keptOn(room, pair);
    moveOuter(preview, keptOn(room, QRect(corner, p)));
    moveOuter(editor, keptOn(room, QRect(corner + editorOffset, e)));
}

void keepEditorOffPreview()
{
    if (!editing())
        return;
    FiltersForm& editor = frmFilters();
    const QRect preview = outerGeometry(&frmPreview());
    const QSize e = outerGeometry(&editor).size();
    const QRect room = workArea();
    if (room.isEmpty() || !outerGeometry(&editor).intersects(preview))
        return;
    const QPoint beside[] = {{preview.right() + 1 + Gap, preview.top()},
                             {preview.left(), preview.bottom() + 1 + Gap},
                             {preview.left() - Gap - e.width(), preview.top()},
                             {preview.left(), preview.top() - Gap - e.height()}};
    for (const QPoint& corner : beside)
        if (room.contains(QRect(corner, e))) {
            moveOuter(editor, corner);
            return;
        }
    moveOuter(editor, keptOn(room, QRect(beside[0], e)));
}

} // namespace tilemond
