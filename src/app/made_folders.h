#pragma once

#include "page/page_file.h"

#include <QStringList>

namespace tilemond::app {

// Folders made for a save, taken away again (when still empty) unless kept.
class MadeFolders
{
public:
    MadeFolders() = default;
    ~MadeFolders();
    MadeFolders(const MadeFolders&) = delete;
    MadeFolders& operator=(const MadeFolders&) = delete;

    // Makes the folder with its missing parents; why not, naming the folder, when it cannot.
    Outcome<void> make(const QString& folder);
    void keep() { m_made.clear(); }

private:
    QStringList m_made; // deepest first, per make
};

} // namespace tilemond::app
