#include "app/made_folders.h"

#include <QDir>

namespace tilemond::app {

MadeFolders::~MadeFolders()
{
    for (const QString& folder : m_made)
        QDir().rmdir(folder);
}

Outcome<void> MadeFolders::make(const QString& folder)
{
    QStringList made;
    Outcome<void> madeAll = host::makeFolders(folder, made);
    m_made = made + m_made;
    return madeAll;
}

} // namespace tilemond::app
