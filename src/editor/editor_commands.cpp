#include "editor/editor_commands.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/topmost.h"
#include "platform/picture_box.h"
#include "platform/prompts.h"

namespace tilemond {
namespace {

void colourMarkers(const MarkerArray& markers, int last, const QColor& colour)
{
    for (int i = 0; i <= last; ++i)
        if (CutMarker* marker = markers.at(i))
            marker->SetColor(colour);
}

} // namespace

void chooseMarkerColour()
{
    topmostBracket(false);
    FiltersForm& editor = frmFilters();
    if (const std::optional<QColor> colour = prompts().chooseColor(editor.LColor->BackColor())) {
        editor.LColor->setBackColor(*colour);
        colourMarkers(frmPreview().Vert1, editor.HMarkerLast, *colour);
        colourMarkers(frmPreview().Hori1, editor.VMarkerLast, *colour);
    }
    topmostBracket(true);
}

void cancelEditing()
{
    topmostBracket(false);
    unloadFrmPreview();
    unloadFrmFilters();
}

} // namespace tilemond
