#pragma once

#include "pictures/picture_file.h"

#include <QByteArray>
#include <QSize>

#include <optional>

namespace tilemond {

// Renders a Windows metafile on white at the size of its frame: the placeable header's bounds
// at its units per inch or, without one, the window that the records set first, in the units
// of its mapping mode (pixels for the scalable ones), at the screen's resolution. The frame
// fills the picture, so a drawing keeps its margins. Every record is checked against the file
// before it is read; see wmf_records for the records that are drawn.
LoadedPicture renderWmf(const QByteArray& data, const QString& file);

// The size renderWmf would give the picture, in pixels; nullopt for a damaged metafile.
std::optional<QSize> wmfPictureSize(const QByteArray& data);

} // namespace tilemond
