#include "app/made_folders.h"

#include <QDir>
#include <QFileInfo>

namespace tilemond::app {

MadeFolders::~MadeFolders()
{
    for (const QString& folder : m_made)
        QDir().rmdir(folder);
}

bool MadeFolders::make(const QString& folder)
{
    QStringList missing;
    for (QString parent = QFileInfo(folder).absoluteFilePath(); !QFileInfo::exists(parent);
         parent = QFileInfo(parent).absolutePath())
        missing << parent;
    m_made = missing + m_made;
    return QDir().mkpath(folder) && QFileInfo(folder).isDir();
}

} // namespace tilemond::app
