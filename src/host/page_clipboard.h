#pragma once

#include "host/page_model.h"
#include "host/pasted_pictures.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

namespace tilemond::host {

using PictureLoader = std::function<QImage(const QString& path)>;

// The host's Edit > Copy: a selected picture goes on the clipboard as pixels
// (nothing, when its pixels cannot be had); other selected text as plain text.
void copySelection(PageModel& page, const PastedPictures& pictures, const QString& pagePath,
                   const PictureLoader& loadPicture);
// The host's Edit > Paste: a clipboard picture becomes an img whose pixels are
// kept until the page is saved; clipboard text is pasted as text. The selection
// then stands just after what was pasted.
void pasteClipboard(PageModel& page, PastedPictures& pictures, const QString& pagePath);

// The picture a src names: one pasted and not saved yet, else the local file it names.
QImage pictureNamed(std::string_view src, const PastedPictures& pictures, const QString& pagePath,
                    const PictureLoader& loadPicture);

// The markup of a pasted picture.
std::string pastedPictureMarkup(const std::string& src, const QSize& size);

} // namespace tilemond::host
