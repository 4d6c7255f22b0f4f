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

} // namespace

void layOutEditorWindows()
{
    if (!isFrmFiltersLoaded() || !isFrmPreviewLoaded() || !frmFilters().formLoaded())
        return; // no editing under way
    PreviewForm& preview = frmPreview();
    FiltersForm& editor = frmFilters();
    const QScreen* screen = preview.screen() ? preview.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QSize p = outerGeometry(&preview).size();
    const QSize e = outerGeometry(&editor).size();

    QRect pair;
    QPoint editorOffset;
    if (p.width() + Gap + e.width() <= room.width()) {
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

} // namespace tilemond
