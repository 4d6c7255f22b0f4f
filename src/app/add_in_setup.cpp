#include "app/add_in_setup.h"

#include "addin/entry_points.h"
#include "host/api/add_in.h"
#include "platform/registry.h"

#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>

namespace tilemond::app {
namespace {

const QString ConnectClass = QStringLiteral("TessoraTilemond.Connect");

// The add-in library linked into this program.
QString ownAddInLibrary()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath();
}

QString registryFailure(const char* what)
{
    return QStringLiteral("Cannot %1 the add-in in %2.")
        .arg(QLatin1String(what), QDir::toNativeSeparators(Registry::filePath()));
}

} // namespace

QString ensureAddInRegistered()
{
    const QString key = QStringLiteral("%1/%2").arg(host::AddInEntry::Key, ConnectClass);
    const QString registered = Registry::value(key, host::AddInEntry::Path).toString();
    if (!registered.isEmpty() && QFileInfo(registered).canonicalFilePath() == ownAddInLibrary())
        return QString();
    return registerAddIn();
}

QString registerAddIn()
{
    return DllRegisterServer() == host::HResult::Ok ? QString() : registryFailure("register");
}

QString unregisterAddIn()
{
    return DllUnregisterServer() == host::HResult::Ok ? QString() : registryFailure("unregister");
}

QStringList connectAddIns(host::AddInLoader& loader)
{
    if (const QString error = ensureAddInRegistered(); !error.isEmpty())
        return {error};
    return loader.connectRegistered();
}

} // namespace tilemond::app
