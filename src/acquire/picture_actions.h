#pragma once

namespace tilemond {

// Installs LoadSelectedImage and Command8_Click as the editor's picture actions.
void installPictureActions();

} // namespace tilemond
