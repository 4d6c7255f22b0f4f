#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace tilemond::host {

// nullopt on success; otherwise what went wrong, naming the file and the reason.
using FileError = std::optional<QString>;

// Reads a page file's bytes as they are.
FileError readPageFile(const QString& path, std::string& bytes);
// Writes aside and then renames over path, so that a failure leaves any old file as it was.
FileError writeFileAtomically(const QString& path, std::string_view bytes);

} // namespace tilemond::host
