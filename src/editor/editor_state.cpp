#include "editor/editor_state.h"

#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/single_instance.h"

namespace tilemond {
namespace {

SingleInstance<FiltersForm> g_filters;
SingleInstance<PreviewForm> g_preview;

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

} // namespace tilemond
