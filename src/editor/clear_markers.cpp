#include "editor/clear_markers.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"

namespace tilemond {
namespace {

// Unloads elements last .. 1 from the top and hides element 0; missing elements are skipped.
void clear(MarkerArray& markers, qint16& last)
{
    for (int i = last; i >= 1; --i)
        markers.unload(i);
    markers[0].hide();
    last = -1;
}

} // namespace

void ClearMarkers()
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    clear(preview.Vert1, editor.HMarkerLast);
    clear(preview.Hori1, editor.VMarkerLast);
}

} // namespace tilemond
