#pragma once

class QWidget;

namespace tilemond {

// Puts a window into (onTop) or out of the always-on-top band at its current place and size,
// and shows it without activating it.
void SetTopmost(QWidget& window, bool onTop);

// The pair that brackets every modal step of the editor: the preview first, then the editor.
void topmostBracket(bool onTop);

} // namespace tilemond
