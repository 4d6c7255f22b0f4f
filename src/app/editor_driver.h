#pragma once

#include "host_api/application.h"
#include "platform/outcome.h"

#include <QSize>
#include <QString>
#include <vector>

// Drives the add-in's editor as a user would: through the host's menu and the editor's own
// buttons. The editor windows are the add-in's single instances.
namespace tilemond::app {

// Clicks "Korvi Tessora" > "Tessora Tilemond" in the host's menu bar.
Outcome<void> openEditorFromMenu(host::Application& host);

bool editorIsOpen();
// The picture the editor holds, in pixels; empty when it holds none.
QSize editorPictureSize();

// Adds the markers with the editor's add buttons and puts them at these picture pixels.
void placeMarkers(const std::vector<int>& vertical, const std::vector<int>& horizontal);
// Table cells, or lines of pieces, then Okay.
void splitIntoPage(bool table);
// Closes the editor without a split.
void closeEditor();

} // namespace tilemond::app
