#include "app/add_in_setup.h"

#include "host_api/add_in.h"
#include "platform/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace tilemond::app {
namespace {

const QString ConnectClass = QStringLiteral("TessoraTilemond.Connect");

QString registryFailure(const char* what)
{
    return QStringLiteral("Cannot %1 the add-in in %2.")
        .arg(QLatin1String(what), QDir::toNativeSeparators(Registry::filePath()));
}

// Loads `library` and calls its registration entry point `name`. Returns an error text.
QString callRegistration(const QString& library, const char* name, const char* what)
{
    if (!QFileInfo::exists(library))
        return QStringLiteral("The Tessora Tilemond add-in cannot be loaded: %1 is missing.")
            .arg(QDir::toNativeSeparators(library));
    QLibrary file(library);
    if (!file.load())
        return QStringLiteral("The Tessora Tilemond add-in cannot be loaded: %1")
            .arg(file.errorString());
    const auto entry = reinterpret_cast<host::DllRegisterServerFn>(file.resolve(name));
    if (!entry)
        return QStringLiteral("%1 is not the Tessora Tilemond add-in: it has no entry point %2.")
            .arg(QDir::toNativeSeparators(library), QLatin1String(name));
    return entry() == host::HResult::Ok ? QString() : registryFailure(what);
}

} // namespace

QString addInLibrary()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString installed = programFolder.absoluteFilePath(TILEMOND_ADDIN_INSTALLED);
    const QString built = programFolder.absoluteFilePath(TILEMOND_ADDIN_BUILT);
    return QDir::cleanPath(QFileInfo::exists(installed) || !QFileInfo::exists(built) ? installed
                                                                                     : built);
}

QString ensureAddInRegistered(const QString& library)
{
    const QString key = QStringLiteral("%1/%2").arg(host::AddInEntry::Key, ConnectClass);
    const QString registered = Registry::value(key, host::AddInEntry::Path).toString();
    const QString canonical = QFileInfo(library).canonicalFilePath();
    if (!canonical.isEmpty() && QFileInfo(registered).canonicalFilePath() == canonical)
        return QString();
    return registerAddIn(library);
}

QString registerAddIn(const QString& library)
{
    return callRegistration(library, "DllRegisterServer", "register");
}

QString unregisterAddIn(const QString& library)
{
    return callRegistration(library, "DllUnregisterServer", "unregister");
}

QStringList connectAddIns(host::AddInLoader& loader, const QString& library)
{
    if (const QString error = ensureAddInRegistered(library); !error.isEmpty())
        return {error};
    return loader.connectRegistered();
}

} // namespace tilemond::app
