#pragma once

namespace tilemond {

// Editor load's picture taking: clears the markers, copies the picture selected in the host's
// page through the host's Edit > Copy and the clipboard onto Picture1 and lays it out in the
// preview. Without a selected picture it offers a picture file; when none is taken, NoGraphic
// becomes true.
void LoadSelectedImage();

} // namespace tilemond
