#pragma once

#include "host/page_parse.h"
#include "host/pasted_pictures.h"

#include <QString>

#include <optional>
#include <string_view>
#include <vector>

namespace tilemond::host {

// The local file that a picture's src names (relative to the page's folder, a
// path, or a file: URL); nullopt for a remote address, which is never fetched.
std::optional<QString> localPictureFile(std::string_view src, const QString& pageFolder);

// The src attributes of the page's pictures, in page order.
std::vector<const ParsedElement::Attribute*> pictureSrcs(const ParsedPage& page);
// The local files that the page's pictures name, apart from the pasted ones kept in memory.
PastedPictures::PageFiles filesNamedByPage(const ParsedPage& page, const PastedPictures& pictures,
                                           const QString& pagePath);

} // namespace tilemond::host
