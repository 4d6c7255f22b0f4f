#pragma once

#include <QImage>

namespace tilemond {

// The pixel formats a picture is held in, from reading it to the file of a pasted piece:
// RGB32 when every pixel is opaque, ARGB32 (straight alpha) when any is not. Straight, not
// premultiplied, so that a partly transparent pixel keeps its exact colour through every copy and
// into the piece's PNG. An opaque picture that comes at three bytes a pixel (RGB888) stays so: a
// quarter less memory, and no conversion on the way to a piece's file. Converts in place where
// it can.
QImage heldPicture(QImage picture);

} // namespace tilemond
