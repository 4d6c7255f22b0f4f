#pragma once

#include "app/command_line.h"
#include "app/made_folders.h"
#include "host/page_host.h"

namespace tilemond::app {

// Where a batch split saves: PAGE in place, or OUT with its pieces and the page's own pictures
// in OUT's folder, which is made when missing. A failed save leaves nothing behind.
class OutputTarget
{
public:
    explicit OutputTarget(const SplitOptions& options);

    // Refuses an OUT that is not a regular file, and makes its folder, where the host's pasted
    // pictures then wait for the save; the reason names the file or folder.
    Outcome<void> prepare(host::PageHost& host);
    // Saves the host's page there (into OUT, the page's picture files go along or are pointed
    // at where they are).
    Outcome<void> save(host::PageHost& host);
    // As the user named it.
    QString shownPath() const { return m_output.value_or(m_page); }

private:
    QString m_page;
    std::optional<QString> m_output;
    MadeFolders m_folders;
};

} // namespace tilemond::app
