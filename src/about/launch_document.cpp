#include "about/launch_document.h"

#include "platform/shell_launch.h"

namespace tilemond {

int LaunchDocument(const QString& path)
{
    return shellLauncher().open(path);
}

} // namespace tilemond
