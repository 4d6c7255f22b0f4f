#pragma once

#include <QByteArray>
#include <QString>

namespace tilemond::host {

// A pasted picture waits for the save in a file beside the page rather than in memory: a hidden
// file of its own there (".tilemond-pasted-<process>-<n>"), always made new, so that nothing is
// written over or through a link. The page and the files it names are not touched before the
// save, so a run that is killed loses nothing that was saved.

// The path of the new file holding bytes; empty when none could be written into folder (a
// read-only folder, a full disk): the bytes then wait in memory.
QString writeUnsavedFile(const QString& folder, const QByteArray& bytes);
// Removes the files of that kind in folder that runs killed before they could remove them left:
// those of a process that no longer runs, written before this one started.
void removeStaleUnsavedFiles(const QString& folder);

} // namespace tilemond::host
