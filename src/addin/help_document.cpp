#include "addin/help_document.h"

#include "about/launch_document.h"
#include "addin/library_file.h"

#include <QFileInfo>

namespace tilemond {

QString helpDocumentPath()
{
    return QFileInfo(addInLibraryPath()).absolutePath() + QStringLiteral("/Help/index.htm");
}

void showHelp()
{
    LaunchDocument(helpDocumentPath());
}

} // namespace tilemond
