#include "acquire/command8.h"

#include "acquire/fit_preview.h"
#include "acquire/picture_choice.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/topmost.h"
#include "platform/picture_box.h"

namespace tilemond {

void Command8_Click()
{
    // The file is read before anything is cleared, so that a bad file loses nothing. The dialog
    // stands out of the editor's way, as every dialog of the editor does.
    topmostBracket(false);
    const std::optional<QImage> picture = chooseAndReadPicture();
    topmostBracket(true);
    if (!picture)
        return;
    ClearMarkers();
    FiltersForm& editor = frmFilters();
    editor.Picture1->Cls();
    editor.Picture1->setPicture(*picture);
    frmPreview().Cls();
    FitPreviewToPicture();
    editor.NoGraphic = false;
}

} // namespace tilemond
