#include "editor/topmost.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "platform/rounding.h"
#include "platform/screen_metrics.h"
#include "platform/window_geometry.h"
#include "platform/window_system.h"

namespace tilemond {

void SetTopmost(QWidget& window, bool onTop)
{
    const QRectF twips = outerTwips(&window);
    const float x = Screen::twipsPerPixelX();
    const float y = Screen::twipsPerPixelY();
    windowSystem().setWindowPos(&window, onTop ? WindowZOrder::Topmost : WindowZOrder::NotTopmost,
                                roundToEven(twips.left() / x), roundToEven(twips.top() / y),
                                roundToEven(twips.width() / x), roundToEven(twips.height() / y),
                                WindowPosFlags::NoActivate | WindowPosFlags::ShowWindow);
}

void topmostBracket(bool onTop)
{
    SetTopmost(frmPreview(), onTop);
    SetTopmost(frmFilters(), onTop);
}

} // namespace tilemond
