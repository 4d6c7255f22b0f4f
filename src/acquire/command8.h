#pragma once

namespace tilemond {

// The editor's "Use New Image From File" button: a chosen picture file replaces the picture,
// the markers go and NoGraphic becomes false. A cancel, or a file that is no usable picture,
// changes nothing.
void Command8_Click();

} // namespace tilemond
