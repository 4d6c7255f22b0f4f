#pragma once

#include "platform/outcome.h"

#include <QByteArray>
#include <QImage>

namespace tilemond::host {

// A picture as the bytes of its file, or why it could not be encoded.
using EncodedPicture = Outcome<QByteArray>;

EncodedPicture encodePng(const QImage& picture);

} // namespace tilemond::host
