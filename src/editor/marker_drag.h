#pragma once

#include "editor/marker_kind.h"

#include <QString>

namespace tilemond {

// What the dragging of markers needs from the window that holds them (twips).
class MarkerDragSurface
{
public:
    virtual ~MarkerDragSurface() = default;
    // Left of a vertical marker, Top of a horizontal one.
    virtual float markerPosition(MarkerKind kind, int index) const = 0;
    virtual void setMarkerPosition(MarkerKind kind, int index, float position) = 0;
    // The window's outer width (vertical markers) or height (horizontal markers), counted from
    // where marker positions start.
    virtual float outerExtent(MarkerKind kind) const = 0;
    virtual void setCaption(const QString& caption) = 0;
};

// Drags a marker along its axis with the left button: the grab point stays under the pointer,
// and the marker only goes where its rounded position lies above 5 twips and below the window's
// outer extent less 200 (a move beyond is ignored, not clamped). While a marker is pressed or
// moved, the caption shows its position in pixels. Pointer X and Y are twips relative to the
// marker, as the marker control reports them.
class MarkerDrag
{
public:
    explicit MarkerDrag(MarkerDragSurface& surface) : m_surface(surface) {}

    void press(MarkerKind kind, int index, int button, int shift, float x, float y);
    void move(MarkerKind kind, int index, int button, int shift, float x, float y);
    void release(MarkerKind kind, int index, int button, int shift, float x, float y);

    int MarkerDownX() const { return m_markerDownX; }
    int MarkerDownY() const { return m_markerDownY; }
    bool MarkerDragging() const { return m_markerDragging; }

private:
    void showReadout(MarkerKind kind, int index);

    MarkerDragSurface& m_surface;
    int m_markerDownX = 0;
    int m_markerDownY = 0;
    bool m_markerDragging = false;
};

} // namespace tilemond
