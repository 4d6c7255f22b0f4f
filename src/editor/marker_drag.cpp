#include "editor/marker_drag.h"

#include "editor/captions.h"
#include "platform/rounding.h"
#include "platform/screen_metrics.h"

#include <algorithm>

namespace tilemond {
namespace {

constexpr int LeftButton = 1;

float twipsPerPixel(MarkerKind kind)
{
    return kind == MarkerKind::Vertical ? Screen::twipsPerPixelX() : Screen::twipsPerPixelY();
}

} // namespace

void MarkerDrag::press(MarkerKind kind, int index, int button, int, float x, float y)
{
    if (button != LeftButton)
        return;
    m_markerDownX = roundToEven(x);
    m_markerDownY = roundToEven(y);
    m_markerDragging = true;
    showReadout(kind, index);
}

void MarkerDrag::move(MarkerKind kind, int index, int button, int, float x, float y)
{
    if (button != LeftButton)
        return;
    if (m_markerDragging) {
        const bool vertical = kind == MarkerKind::Vertical;
        const double pointer = vertical ? x : y;
        const double pressedAt = vertical ? m_markerDownX : m_markerDownY;
        moveTo(kind, index, double(m_surface.markerPosition(kind, index)) + pointer - pressedAt);
    }
    showReadout(kind, index);
}

void MarkerDrag::release(MarkerKind, int, int button, int, float, float)
{
    if (button != LeftButton)
        return;
    m_markerDragging = false;
    m_surface.setCaption(TilemondCaption);
}

void MarkerDrag::step(MarkerKind kind, int index, int pixels)
{
    moveTo(kind, index,
           double(m_surface.markerPosition(kind, index)) + pixels * twipsPerPixel(kind));
    showReadout(kind, index);
}

// A cut on the picture's edge or beyond it would cut nothing: the marker stops between the
// first and the second pixel and between the last two, wherever the pointer went.
void MarkerDrag::moveTo(MarkerKind kind, int index, double wanted)
{
    const double pixel = twipsPerPixel(kind);
    const double first = pixel;
    const double last = double(m_surface.pictureExtent(kind)) - pixel;
    if (last < first)
        return; // a picture one pixel across has nowhere to cut
    m_surface.setMarkerPosition(kind, index, float(std::clamp(wanted, first, last)));
}

// The position in whole pixels from the window's client edge, e.g. "X : 100".
void MarkerDrag::showReadout(MarkerKind kind, int index)
{
    // A screen of less than half a twip per pixel would divide by zero.
    const int divisor = std::max(roundToEven(twipsPerPixel(kind)), 1);
    const int pixels = roundToEven(m_surface.markerPosition(kind, index)) / divisor;
    m_surface.setCaption(QString(kind == MarkerKind::Vertical ? "X : " : "Y : ") +
                         QString::number(pixels));
}

} // namespace tilemond
