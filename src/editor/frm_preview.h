#pragma once

#include "editor/marker_array.h"
#include "editor/marker_drag.h"
#include "platform/persistent_surface.h"

#include <QTimer>
#include <QWidget>

class QScrollArea;
class QScrollBar;

namespace tilemond {

class PictureBox;

// The preview window frmPreview: shows the picture 1:1 on its persistent surface and carries the
// cut markers, which the user drags along their axes. A picture larger than the room the screen
// leaves scrolls inside the window; positions are twips of the surface, whose top-left corner is
// the picture's, wherever it is scrolled to.
class PreviewForm : public QWidget, private MarkerDragSurface
{
    Q_OBJECT

private:
    MarkerDrag m_drag{*this};
    QSize m_frameLaidOut;          // the frame the editor was last laid beside
    QSize m_pictureSize;           // pixels
    int m_lastTouched[2] = {0, 0}; // per kind: the marker last added or dragged
    // The marker being dragged, and the timer that scrolls towards the pointer meanwhile.
    MarkerKind m_draggedKind = MarkerKind::Vertical;
    int m_draggedIndex = 0;
    QTimer m_autoScroll;
    // Follows the surface widget's size whenever it is used.
    mutable PersistentSurface m_surface;
    QScrollArea* m_view;
    QWidget* m_canvas; // the surface with the markers on it, scrolled in m_view

public:
    PreviewForm();

    // The vertical cut markers (chVSplitter) and the horizontal ones (ctHSplitter).
    MarkerArray Hori1;
    MarkerArray Vert1;
    // Part of the window's design, used by nothing: a zero-size picture box at the top-left
    // corner and a timer without a handler that never runs.
    PictureBox* Picture1;
    QTimer* Tmr1;
    MarkerArray& markers(MarkerKind kind);

    // The drag of markers, with its pressed position and state.
    MarkerDrag& drag() { return m_drag; }

    // The picture shown, in pixels: markers cut only within it.
    void setPictureSize(QSize pixels) { m_pictureSize = pixels; }
    // The surface's size in pixels; the window shows all of it until the layout limits the window.
    void setContentSize(QSize pixels);
    // The client size that shows as much of the surface as fits into `most`, scroll bars included.
    QSize clientWithin(QSize most) const;
    // The outer size in twips the window has when it shows the whole surface.
    QSizeF extentTwips() const;
    // The part of the surface the window shows: from the scrolled-to corner, the window's outer
    // size (twips), so that a window not scrolled gives its outer rectangle.
    QRectF shownTwips() const;
    QScrollBar* scrollBar(MarkerKind kind) const;
    // The marker of this kind that the arrow keys move: the one last added or dragged.
    void touchMarker(MarkerKind kind, int index) { m_lastTouched[int(kind)] = index; }
    // Moves that marker by whole pixels, if one of its kind shows.
    void stepMarker(MarkerKind kind, int pixels);

    // The persistent drawing surface of the client area, in pixels, and its image.
    PersistentSurface& surface() const;
    QImage& image();
    // Erases what was drawn, leaving the background and the design's splash picture.
    void Cls() { surface().clear(); }
    // Repaints the window from its image now.
    void Refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Closing the preview through the window system ends the editing as Cancel does.
    void closeEvent(QCloseEvent* event) override;
    // Escape does what Cancel does, as in the editor window.
    void keyPressEvent(QKeyEvent* event) override;
    // A click anywhere in the window raises it over the editor: the editor is raised again. The
    // surface widget's paint comes here too.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window system frames the window a moment after it is shown: the editor is laid out
    // beside it again then, and moved off it whenever the window comes to lie under it.
    void moveEvent(QMoveEvent* event) override;
    // A hidden window drops the repaints it still had pending all at once; otherwise hiding its
    // markers, thousands of them, would take each out of that list one by one.
    void hideEvent(QHideEvent* event) override;

private:
    void connectMarker(MarkerKind kind, CutMarker& marker, int index);
    // While a marker is dragged near or past an edge of the view, scrolls that way and moves the
    // marker with the view, so that it stays under the pointer.
    void scrollTowardsPointer();
    // Scrolls so that this pixel of the surface shows on the marker's axis.
    void bringIntoView(MarkerKind kind, int pixel);

    float markerPosition(MarkerKind kind, int index) const override;
    void setMarkerPosition(MarkerKind kind, int index, float position) override;
    float pictureExtent(MarkerKind kind) const override;
    void setCaption(const QString& caption) override;
};

} // namespace tilemond
