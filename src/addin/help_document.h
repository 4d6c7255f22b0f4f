#pragma once

#include <QString>

namespace tilemond {

// Help/index.htm in the folder of the add-in's library.
QString helpDocumentPath();
// Opens it with the desktop's program for it, whether or not it is there.
void showHelp();

} // namespace tilemond
