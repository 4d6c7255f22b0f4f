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
// Writes a file that must not exist yet: a file of that name, even one that appears at the
// last moment, is never written over. A failed write removes what it began.
FileError writeNewFile(const QString& path, std::string_view bytes);

// One version of a file on disk, to find out whether someone else removed, replaced or wrote
// the file since it was read.
struct FileStamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp stampOf(const QString& path);

} // namespace tilemond::host
