#include "editor/marker_drag.h"

#include "editor/captions.h"
#include "platform/rounding.h"
#include "platform/screen_metrics.h"

#include <algorithm>

namespace tilemond {
namespace {

constexpr int LeftButton = 1;
// A marker keeps this far (twips) inside the window's far outer edge.
constexpr double FarEdgeMargin = 200;
// Positions must round to more than this (twips).
constexpr int NearEdgeLimit = 5;

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
    const bool vertical = kind == MarkerKind::Vertical;
    const double pointer = vertical ? x : y;
    const double pressedAt = vertical ? m_markerDownX : m_markerDownY;
    const double wanted = double(m_surface.markerPosition(kind, index)) + pointer - pressedAt;
    const int rounded = roundToEven(wanted);
    if (m_surface.outerExtent(kind) - FarEdgeMargin > rounded && rounded > NearEdgeLimit &&
        m_markerDragging)
        m_surface.setMarkerPosition(kind, index, float(wanted));
    showReadout(kind, index);
}

void MarkerDrag::release(MarkerKind, int, int button, int, float, float)
{
    if (button != LeftButton)
        return;
    m_markerDragging = false;
    m_surface.setCaption(TilemondCaption);
}

// The position in whole pixels from the window's client edge, e.g. "X : 100".
void MarkerDrag::showReadout(MarkerKind kind, int index)
{
    const bool vertical = kind == MarkerKind::Vertical;
    const float perPixel = vertical ? Screen::twipsPerPixelX() : Screen::twipsPerPixelY();
    // A screen of less than half a twip per pixel would divide by zero.
    const int divisor = std::max(roundToEven(perPixel), 1);
    const int pixels = roundToEven(m_surface.markerPosition(kind, index)) / divisor;
    m_surface.setCaption(QString(vertical ? "X : " : "Y : ") + QString::number(pixels));
}

} // namespace tilemond
