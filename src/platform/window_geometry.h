#pragma once

#include <QRect>
#include <QRectF>

class QWidget;

namespace tilemond {

// A top-level window's outer rectangle (frame included) in pixels and in twips. A window that
// cannot be resized by the user keeps that property when its size is set here. The frame is
// known once the native window exists (winId()) and the window manager has framed it; until then
// the outer rectangle is the client's.

QRect outerGeometry(const QWidget* window);
void setOuterGeometry(QWidget* window, const QRect& pixels);
// The size inside the frame, whatever the frame.
void setClientSize(QWidget* window, QSize pixels);

// Left, top, width and height in twips.
QRectF outerTwips(const QWidget* window);
void setOuterWidthTwips(QWidget* window, float width);
void setOuterHeightTwips(QWidget* window, float height);
void moveTwips(QWidget* window, float left, float top);

} // namespace tilemond
