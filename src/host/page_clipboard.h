#pragma once

#include "page/page_model.h"
#include "page/pasted_pictures.h"
#include "pictures/picture_file.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace tilemond::host {

// The host's Edit > Copy: a selected picture goes on the clipboard as the page shows it
// (nothing, when its pixels cannot be had); other selected text as plain text. Fails when a
// selected picture gave no pixels, saying why ("is a remote address, ..."). `laidOut` is the size
// a browser engine shows the picture at, where known; else its width and height attributes size
// it.
Outcome<void> copySelection(PageModel& page, const PastedPictures& pictures,
                            const QString& pagePath,
                            const std::optional<QSize>& laidOut = std::nullopt);
// The host's Edit > Paste: a clipboard picture becomes an img whose pixels are
// kept until the page is saved (over a selected picture, with that picture's alt and title);
// clipboard text is pasted as text. The selection then stands just after what was pasted.
void pasteClipboard(PageModel& page, PastedPictures& pictures, const QString& pagePath);

// The picture a src names: one pasted and not saved yet, else the file or data: address it names
// (relative addresses start from `folder`, as pictureFolder gives it) at the size `shown` makes
// of its own. Why there is none follows its name in "the picture x.png is a remote address,
// which is never fetched".
Outcome<QImage> pictureNamed(std::string_view src, const PastedPictures& pictures,
                             const std::optional<QString>& folder, const ShownSize& shown = {});

} // namespace tilemond::host
