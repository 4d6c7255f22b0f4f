#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace tilemond {

// Decodes the PNG files most pictures are, 8-bit RGB or RGBA without interlacing or tRNS, in one
// pass of libdeflate straight into the picture's own memory: the pixels and colour space that Qt's
// reader gives, at a third of its time, an opaque picture at three bytes a pixel (RGB888). Nothing
// for any other file or any it cannot decode whole; Qt's reader then takes it, and says what is
// wrong with a broken one. The IDAT data is moved together inside `data` while decoding and put
// back as it was when it fails.
std::optional<QImage> readPlainPng(QByteArray& data);

} // namespace tilemond
