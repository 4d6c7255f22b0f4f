#pragma once

namespace tilemond {

// While the editor is open, lays the editor window and the preview side by side in the work area
// of the preview's screen, the pair centred, so that neither covers the other: the editor right of
// the preview, else below it. The preview is made no larger than the room left beside or above the
// editor (it scrolls then). Outer sizes count, so the window system's frames do too.
void layOutEditorWindows();

// While the editor is open and covers any part of the preview, moves the editor beside the
// preview where it stands (right, below, left or above, the first that fits on the screen):
// the window manager may move the preview after the two were laid out.
void keepEditorOffPreview();

} // namespace tilemond
