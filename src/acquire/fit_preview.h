#pragma once

namespace tilemond {

// Lays the picture of the editor's Picture1 out in the preview window, 1:1 at its top-left
// corner: the preview's surface becomes the picture's size (20 pixels wider and taller), element 0
// of each marker array gets the window's outer size for that surface as its line length, the
// editor is laid beside the preview (which scrolls when the screen is too small for it), the
// pixels are copied and the preview repainted.
void FitPreviewToPicture();

// The two halves of FitPreviewToPicture, for a caller that lets the picture settle in between:
// the sizing with the line lengths, then the copy with the repaint.
void sizePreviewToPicture();
void showPictureInPreview();

} // namespace tilemond
