#pragma once

#include "editor/marker_array.h"
#include "editor/marker_drag.h"
#include "platform/persistent_surface.h"

#include <QWidget>

class QTimer;

namespace tilemond {

class PictureBox;

// The preview window frmPreview: shows the picture 1:1 on its persistent surface and carries the
// cut markers, which the user drags along their axes. Positions are twips of its client area.
class PreviewForm : public QWidget, private MarkerDragSurface
{
    Q_OBJECT

private:
    MarkerDrag m_drag{*this};
    QSize m_frameLaidOut;          // the frame the editor was last laid beside
    QSize m_pictureSize;           // pixels
    int m_lastTouched[2] = {0, 0}; // per kind: the marker last added or dragged
    // Follows the client area's size whenever it is used.
    mutable PersistentSurface m_surface;

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
    void Refresh() { repaint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Closing the preview through the window system ends the editing as Cancel does.
    void closeEvent(QCloseEvent* event) override;
    // Escape does what Cancel does, as in the editor window.
    void keyPressEvent(QKeyEvent* event) override;
    // A click anywhere in the window raises it over the editor: the editor is raised again.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window system frames the window a moment after it is shown: the editor is laid out
    // beside it again then, and moved off it whenever the window comes to lie under it.
    void moveEvent(QMoveEvent* event) override;
    // A hidden window drops the repaints it still had pending all at once; otherwise hiding its
    // markers, thousands of them, would take each out of that list one by one.
    void hideEvent(QHideEvent* event) override;

private:
    void connectMarker(MarkerKind kind, CutMarker& marker, int index);

    float markerPosition(MarkerKind kind, int index) const override;
    void setMarkerPosition(MarkerKind kind, int index, float position) override;
    float pictureExtent(MarkerKind kind) const override;
    void setCaption(const QString& caption) override;
};

} // namespace tilemond
