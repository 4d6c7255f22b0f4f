#pragma once

#include "platform/prompts.h"

#include <QString>
#include <QStringList>

namespace tilemond {

// The editor's file-open dialog: one filter, and a cancel that is told apart from a file name.
struct FileOpenDialog
{
    QString DialogTitle;
    QString filterName;
    QStringList patterns;

    // Asks through the installed prompts.
    FileChoice ShowOpen() const;
};

// The dialog for picture files: "Graphic File To Open...", "Graphic Formats".
const FileOpenDialog& cdFileOpen();

} // namespace tilemond
