#include "addin/library_file.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace tilemond {

QString addInLibraryPath()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&addInLibraryPath), &info) || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

} // namespace tilemond
