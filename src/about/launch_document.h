#pragma once

#include <QString>

namespace tilemond {

// Opens a file or a web address with the desktop's program for it and returns
// the launcher's result code unchanged (above 32 is success). A failure is not
// reported to the user; an empty path is handed on as it is.
int LaunchDocument(const QString& path);

} // namespace tilemond
