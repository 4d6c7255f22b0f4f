#pragma once

#include "platform/picture_file.h"

#include <QByteArray>
#include <QSize>

#include <optional>

namespace tilemond {

// Renders a Windows metafile through libwmf at the size its placeable header gives (its
// bounding box at the screen's resolution) or, without one, at its window extent, on white.
LoadedPicture renderWmf(const QByteArray& data, const QString& file);

// The size renderWmf would give the picture, in pixels; nullopt for a damaged metafile.
std::optional<QSize> wmfPictureSize(const QByteArray& data);

} // namespace tilemond
