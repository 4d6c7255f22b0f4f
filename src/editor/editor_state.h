#pragma once

namespace tilemond {

class FiltersForm;
class PreviewForm;

// True while the editor is open; the host's window activation events act on the two windows
// only then. False when the component is loaded.
extern bool EditorOpen;

// The editor window and the preview window, each built on first reference.
FiltersForm& frmFilters();
PreviewForm& frmPreview();
bool isFrmFiltersLoaded();
bool isFrmPreviewLoaded();
// Closes the window; its state and controls go with it. Safe inside its own handlers.
void unloadFrmFilters();
void unloadFrmPreview();

} // namespace tilemond
