#pragma once

namespace tilemond {

// The refusal when no picture is loaded: says so, then closes the preview and the editor.
// The caller must do nothing more.
void NoGraphicExit();

} // namespace tilemond
