#pragma once

#include "platform/outcome.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

namespace tilemond {

// A picture read from a file: the image (in a held format, see heldPicture; metafiles on white),
// or why not, naming the file.
using LoadedPicture = Outcome<QImage>;

// The size a picture is shown at, made from its own size: a page's width and height attributes.
using ShownSize = std::function<QSize(QSize own)>;

// Reads bmp, jpg, gif (its first frame), png, svg, wmf and emf; the content decides the format,
// not the extension. A picture is given at the size `shown` makes of its own size: an SVG drawing
// rendered at that size, any other picture scaled to it with a smooth filter. Never throws.
LoadedPicture loadPictureFile(const QString& path, const ShownSize& shown = {});
// The same for a picture's bytes that come from elsewhere (a data: address), within the limits
// of a file; `name` names them in messages.
LoadedPicture loadPictureData(const QByteArray& data, const QString& name,
                              const ShownSize& shown = {});

// Whether the bytes start as a picture of one of the kinds read above.
bool isPictureData(const QByteArray& data);

// The most bytes a picture may have: no picture file of the offered kinds comes near it, and it
// keeps a stray huge file from being read into memory whole.
inline constexpr qint64 kMaxPictureBytes = qint64(1) << 30;

} // namespace tilemond
