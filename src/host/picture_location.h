#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace tilemond::host {

// The local file that a picture's src names (relative to the page's folder, a
// path, or a file: URL); nullopt for a remote address, which is never fetched.
std::optional<QString> localPictureFile(std::string_view src, const QString& pageFolder);

} // namespace tilemond::host
