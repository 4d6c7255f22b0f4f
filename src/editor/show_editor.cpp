#include "editor/show_editor.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"

namespace tilemond {

void showFrmFilters()
{
    FiltersForm& editor = frmFilters();
    if (!editor.formLoaded()) {
        editor.Form_Load();
        return;
    }
    editor.show();
    editor.raise();
    // Chosen again from the host's menu, the editor takes the keys back from the page.
    editor.activateWindow();
}

} // namespace tilemond
