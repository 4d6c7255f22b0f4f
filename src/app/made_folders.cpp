#include "app/made_folders.h"

#include <QDir>

namespace tilemond::app {

MadeFolders::~MadeFolders()
{
    for (const QString& folder : m_made)
        QDir().rmdir(folder);
}

host::FileError MadeFolders::make(const QString& folder)
{
    QStringList made;
    const host::FileError error = host::makeFolders(folder, made);
    m_made = made + m_made;
    return error;
}

} // namespace tilemond::app
