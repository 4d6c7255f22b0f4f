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
    // The picture's width (vertical markers) or height (horizontal markers), counted from where
    // marker positions start.
    virtual float pictureExtent(MarkerKind kind) const = 0;
    virtual void setCaption(const QString& caption) = 0;
};

// Drags a marker along its axis with the left button: the grab point stays under the pointer,
// and the marker goes wherever a cut can lie, from the picture's pixel 1 to its last pixel
// (width - 1): a pointer beyond puts it at the nearest of those. While a marker is pressed,
// moved or stepped by keys, the caption shows its position in pixels. Pointer X and Y are twips
// relative to the marker, as the marker control reports them.
class MarkerDrag
{
public:
    explicit MarkerDrag(MarkerDragSurface& surface) : m_surface(surface) {}

    void press(MarkerKind kind, int index, int button, int shift, float x, float y);
    void move(MarkerKind kind, int index, int button, int shift, float x, float y);
    void release(MarkerKind kind, int index, int button, int shift, float x, float y);
    // Moves the marker by whole pixels (negative: left or up), within the same limits.
    void step(MarkerKind kind, int index, int pixels);

    int MarkerDownX() const { return m_markerDownX; }
    int MarkerDownY() const { return m_markerDownY; }
    bool MarkerDragging() const { return m_markerDragging; }

private:
    void moveTo(MarkerKind kind, int index, double wanted);
    void showReadout(MarkerKind kind, int index);

    MarkerDragSurface& m_surface;
    int m_markerDownX = 0;
    int m_markerDownY = 0;
    bool m_markerDragging = false;
};

} // namespace tilemond
