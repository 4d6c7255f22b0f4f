#include "editor/editor_state.h"

#include "editor/captions.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/single_instance.h"
#include "editor/topmost.h"
#include "platform/prompts.h"

namespace tilemond {
namespace {

SingleInstance<FiltersForm> g_filters;
SingleInstance<PreviewForm> g_preview;

// Unloads elements last .. 1 from the top and hides element 0; missing elements are skipped.
void clear(MarkerArray& markers, qint16& last)
{
    for (int i = last; i >= 1; --i)
        markers.unload(i);
    markers[0].hide();
    last = -1;
}

} // namespace

bool EditorOpen = false;

FiltersForm& frmFilters()
{
    return g_filters.get();
}

PreviewForm& frmPreview()
{
    return g_preview.get();
}

bool isFrmFiltersLoaded()
{
    return g_filters.isLoaded();
}

bool isFrmPreviewLoaded()
{
    return g_preview.isLoaded();
}

void unloadFrmFilters()
{
    g_filters.unload([](FiltersForm& form) { form.Form_Unload(); });
}

void unloadFrmPreview()
{
    g_preview.unload([](PreviewForm&) {});
}

host::ApplicationPtr HostApp;

void ClearMarkers()
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    clear(preview.Vert1, editor.HMarkerLast);
    clear(preview.Hori1, editor.VMarkerLast);
}

void NoGraphicExit()
{
    topmostBracket(false);
    prompts().messageBox("No Graphic Currently Loaded...Exiting", TilemondCaption,
                         MsgBox::Information | MsgBox::OkOnly);
    unloadFrmPreview();
    unloadFrmFilters();
}

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
