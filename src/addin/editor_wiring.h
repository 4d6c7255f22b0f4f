#pragma once

namespace tilemond {

// Gives the editor window's buttons their actions: picture taking, the split, About, Help,
// the marker colour and Cancel.
void installEditorActions();

} // namespace tilemond
