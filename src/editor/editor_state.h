#pragma once

#include "host_api/application.h"

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

// The host application, kept from connection to disconnection; every host operation goes
// through it.
extern host::ApplicationPtr HostApp;

// Removes every cut marker, the horizontal ones first, and sets both counters to -1.
void ClearMarkers();

// The refusal when no picture is loaded: says so, then closes the preview and the editor.
// The caller must do nothing more.
void NoGraphicExit();

// Shows the editor window frmFilters, building it first when it does not exist. A window runs
// its load the first time it is shown here, and only then: showing an open editor again
// brings the same window forward.
void showFrmFilters();

} // namespace tilemond
