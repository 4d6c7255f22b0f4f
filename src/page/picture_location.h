#pragma once

#include "page/page_elements.h"
#include "page/pasted_pictures.h"
#include "platform/outcome.h"

#include <QString>

#include <optional>
#include <string_view>
#include <vector>

namespace tilemond::host {

// The local file that a picture's src names (relative to the page's folder, a
// path, or a file: URL); nullopt for a remote address, which is never fetched.
std::optional<QString> localPictureFile(std::string_view src, const QString& pageFolder);

// The folder that the page's relative picture addresses start from: the page's own, or the one
// its first <base href> names; nullopt when that base is a remote address.
std::optional<QString> pictureFolder(const PageElements& page, const QString& pagePath);

// Where a picture of the page comes from: a local file, or the bytes of a data: address.
struct PictureSource
{
    std::optional<QString> file;
    std::optional<QByteArray> data;
};
// The folder the page's relative addresses start from for a pasted picture's src: the base's
// when it is local, else the page's own.
QString srcFolder(const PageElements& page, const QString& pagePath);

// `folder` is what pictureFolder gave. Nowhere we read from, the failure says what the picture
// is, as in "the picture x.png is a remote address".
Outcome<PictureSource> pictureSource(std::string_view src, const std::optional<QString>& folder);

// A picture of the page and its src attribute.
struct PictureSrc
{
    const ParsedElement* image;
    const ParsedElement::Attribute* src;
};
// The src attributes of the page's pictures, in page order.
std::vector<PictureSrc> pictureSrcs(const PageElements& page);
// The local files that the page's pictures name, apart from the pasted ones kept in memory.
PastedPictures::PageFiles filesNamedByPage(const PageElements& page, const PastedPictures& pictures,
                                           const QString& pagePath);

} // namespace tilemond::host
