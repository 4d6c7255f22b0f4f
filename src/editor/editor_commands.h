#pragma once

namespace tilemond {

// The editor window's own buttons.

// Command3: asks for the marker colour, starting from the swatch's. A chosen colour goes to the
// swatch and to every marker of both kinds; a cancel changes nothing.
void chooseMarkerColour();
// Command6: closes the preview, then the editor, without a question.
void cancelEditing();

} // namespace tilemond
