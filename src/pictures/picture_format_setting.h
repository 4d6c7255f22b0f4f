#pragma once

#include "pictures/picture_format.h"

namespace tilemond::host {

// The pasted pictures' format that the user last chose for a save, kept in the settings file of
// the host's config folder; PNG until one is chosen, or when the file holds no valid choice.
PictureFormat rememberedPictureFormat(const QString& configFolder);
void rememberPictureFormat(const QString& configFolder, const PictureFormat& format);

} // namespace tilemond::host
