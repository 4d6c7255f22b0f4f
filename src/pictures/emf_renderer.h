#pragma once

#include "pictures/picture_file.h"

#include <QByteArray>
#include <QSize>

#include <optional>

namespace tilemond {

// Renders an enhanced metafile on white at the size of its header's frame (0.01 mm) at the
// screen's resolution, or of its bounds when the frame is empty. Every record is checked
// against the file before it is read; see emf_records for the records that are drawn.
LoadedPicture renderEmf(const QByteArray& data, const QString& file);

// The size renderEmf would give the picture, in pixels; nullopt for a damaged metafile.
std::optional<QSize> emfPictureSize(const QByteArray& data);

} // namespace tilemond
