#pragma once

namespace tilemond {

class PictureBox;

// Puts a copy of the surface's inner area, pixel for pixel, on the system clipboard as its only
// content. The size comes from the surface's own unit converted to pixels. A surface without a
// single pixel gives no copy, and then the clipboard is left as it was.
void CopyPictureToClipboard(const PictureBox& surface);

// Empties the system clipboard.
void ClearClipboard();

} // namespace tilemond
