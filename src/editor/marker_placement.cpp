#include "editor/marker_placement.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/split_guard.h"
#include "platform/picture_box.h"
#include "platform/rounding.h"

namespace tilemond {
namespace {

qint16& lastIndex(FiltersForm& editor, MarkerKind kind)
{
    return kind == MarkerKind::Vertical ? editor.VMarkerLast : editor.HMarkerLast;
}

// The new marker spans the preview's whole extent across its axis (the window's outer size, were it
// to show the whole picture), at the centre line of the part the window shows.
void place(CutMarker& marker, MarkerKind kind, const PreviewForm& preview)
{
    const QSizeF extent = preview.extentTwips();
    const QRectF shown = preview.shownTwips();
    if (kind == MarkerKind::Vertical) {
        marker.setTop(0);
        marker.setHeight(float(extent.height()));
        marker.setLeft(float(shown.left() + roundToEven(shown.width()) / 2));
    } else {
        marker.setLeft(0);
        marker.setWidth(float(extent.width()));
        marker.setTop(float(shown.top() + roundToEven(shown.height()) / 2));
    }
    marker.setVisible(true);
}

// The editor, when a marker command may run now: not while a split yields, and not
// without a picture (that refusal closes the editor).
FiltersForm* editorForMarkerCommand()
{
    if (splitRunning())
        return nullptr;
    FiltersForm& editor = frmFilters();
    if (editor.NoGraphic) {
        NoGraphicExit();
        return nullptr;
    }
    return &editor;
}

void addMarker(MarkerKind kind)
{
    FiltersForm* ready = editorForMarkerCommand();
    if (!ready)
        return;
    FiltersForm& editor = *ready;
    qint16& last = lastIndex(editor, kind);
    // A full array takes no more markers; the counter must not wrap.
    if (last >= MarkerArray::MaxIndex)
        return;
    MarkerArray& markers = frmPreview().markers(kind);
    const int next = last + 1;
    if (next != 0 && !markers.load(next))
        return;
    last = qint16(next);

    CutMarker& marker = markers[next];
    const QSizeF extent = frmPreview().extentTwips();
    place(marker, kind, frmPreview());
    marker.SetColor(editor.LColor->BackColor());
    marker.SetLine(roundToEven(kind == MarkerKind::Vertical ? extent.height() : extent.width()));
    frmPreview().touchMarker(kind, next);
}

void removeMarker(MarkerKind kind)
{
    FiltersForm* ready = editorForMarkerCommand();
    if (!ready)
        return;
    FiltersForm& editor = *ready;
    qint16& last = lastIndex(editor, kind);
    MarkerArray& markers = frmPreview().markers(kind);
    if (last < 1) {
        markers[0].setVisible(false);
        last = -1;
    } else {
        markers.unload(last);
        --last;
        frmPreview().touchMarker(kind, last);
    }
}

} // namespace

void addVerticalMarker()
{
    addMarker(MarkerKind::Vertical);
}

void addHorizontalMarker()
{
    addMarker(MarkerKind::Horizontal);
}

void removeVerticalMarker()
{
    removeMarker(MarkerKind::Vertical);
}

void removeHorizontalMarker()
{
    removeMarker(MarkerKind::Horizontal);
}

} // namespace tilemond
