#pragma once

class QWidget;

namespace tilemond {

// The arrow keys in this window move a marker on the preview by one pixel, ten with Shift:
// Left and Right the vertical marker last added or dragged, Up and Down the horizontal one.
// They come before the buttons' own use of the arrows (moving the focus).
void addMarkerKeys(QWidget& window);

} // namespace tilemond
