#pragma once

#include <QImage>
#include <QMimeData>
#include <QString>

#include <memory>

namespace tilemond {

// The system clipboard, as far as pictures and plain text go.
namespace SystemClipboard {

// The picture on the clipboard in a held format (heldPicture), its alpha kept; a null image when
// it holds none.
QImage picture();
// Replaces whatever the clipboard held by this one picture.
void setPicture(const QImage& picture);
// The text on the clipboard (empty when it holds none).
QString text();
// Empties the clipboard.
void clear();

// A copy of everything the clipboard holds now, in every form it offers.
std::unique_ptr<QMimeData> contents();
// Puts such a copy back (an empty one empties the clipboard).
void restore(std::unique_ptr<QMimeData> contents);

} // namespace SystemClipboard
} // namespace tilemond
