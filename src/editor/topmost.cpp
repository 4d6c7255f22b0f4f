#include "editor/topmost.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "platform/screen_metrics.h"
#include "platform/window_geometry.h"
#include "platform/window_system.h"

namespace tilemond {

void SetTopmost(QWidget& window, bool onTop)
{
    const QRect pixels = Screen::pixels(outerTwips(&window));
    windowSystem().setWindowPos(&window, onTop ? WindowZOrder::Topmost : WindowZOrder::NotTopmost,
                                pixels.left(), pixels.top(), pixels.width(), pixels.height(),
                                WindowPosFlags::NoActivate | WindowPosFlags::ShowWindow);
}

void topmostBracket(bool onTop)
{
    SetTopmost(frmPreview(), onTop);
    SetTopmost(frmFilters(), onTop);
}

} // namespace tilemond
