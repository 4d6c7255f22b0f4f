#pragma once

#include <QImage>

#include <optional>

namespace tilemond::host {

// The picture as an 8-bit indexed picture of the very same pixels, when it has at most 256
// colours; none otherwise.
std::optional<QImage> paletteCopy(const QImage& picture);

} // namespace tilemond::host
