#pragma once

#include "platform/outcome.h"

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

namespace tilemond::host {

// A failure's reason names the file and says what went wrong.
// Reads a page file's bytes as they are. A file that is not text (a picture, an archive, a
// program) is refused, so that nothing is ever appended to it.
Outcome<void> readPageFile(const QString& path, std::string& bytes);
// Whether a page may be written at path; not when something that is not a regular file stands
// there (a folder, a device, a pipe).
Outcome<void> checkPageTarget(const QString& path);
// Writes aside and then renames over path, so that a failure leaves any old file as it was. The
// new file keeps the old one's permissions (and owner, where that may be given), and is on the
// disk, name and all, before this returns.
Outcome<void> writeFileAtomically(const QString& path, std::string_view bytes);
// Writes a file that must not exist yet: a file of that name, even one that appears at the
// last moment, is never written over. A failed write removes what it began.
Outcome<void> writeNewFile(const QString& path, std::string_view bytes);
// Gives a file written by writeNewFile its final name, which must still be free.
Outcome<void> renameNewFile(const QString& from, const QString& to);
// Gives a regular file a second name, which must be free; where the file system gives none
// (another disk, no links), copies it there instead.
Outcome<void> linkNewFile(const QString& from, const QString& to);
// Makes the folder and its missing parents; `made` gets those it made, deepest first. The
// reason names the folder that could not be made and why (a file in the way, a link to
// nowhere, a read-only disk...).
Outcome<void> makeFolders(const QString& folder, QStringList& made);
// Puts a folder's entries (new and renamed files) on the disk.
void syncFolder(const QString& folder);
// Puts everything written to the folder's file system on the disk: one call for many files.
void syncFileSystemOf(const QString& folder);

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
