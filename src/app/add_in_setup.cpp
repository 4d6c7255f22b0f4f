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

// Loads `library` and calls its registration entry point `name`.
Outcome<void> callRegistration(const QString& library, const char* name, const char* what)
{
    if (!QFileInfo::exists(library))
        return Unexpected(
            QStringLiteral("The Tessora Tilemond add-in cannot be loaded: %1 is missing.")
                .arg(QDir::toNativeSeparators(library)));
    QLibrary file(library);
    if (!file.load())
        return Unexpected(QStringLiteral("The Tessora Tilemond add-in cannot be loaded: %1")
                              .arg(file.errorString()));
    const auto entry = reinterpret_cast<host::DllRegisterServerFn>(file.resolve(name));
    if (!entry)
        return Unexpected(
            QStringLiteral("%1 is not the Tessora Tilemond add-in: it has no entry point %2.")
                .arg(QDir::toNativeSeparators(library), QLatin1String(name)));
    if (entry() != host::HResult::Ok)
        return Unexpected(
            QStringLiteral("Cannot %1 the add-in in %2.")
                .arg(QLatin1String(what), QDir::toNativeSeparators(Registry::filePath())));
    return {};
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

Outcome<void> ensureAddInRegistered(const QString& library)
{
    const QString key = QStringLiteral("%1/%2").arg(host::AddInEntry::Key, ConnectClass);
    const QString registered = Registry::value(key, host::AddInEntry::Path).toString();
    const QString canonical = QFileInfo(library).canonicalFilePath();
    if (!canonical.isEmpty() && QFileInfo(registered).canonicalFilePath() == canonical)
        return {};
    return registerAddIn(library);
}

Outcome<void> registerAddIn(const QString& library)
{
    return callRegistration(library, "DllRegisterServer", "register");
}

Outcome<void> unregisterAddIn(const QString& library)
{
    return callRegistration(library, "DllUnregisterServer", "unregister");
}

QStringList connectAddIns(host::AddInLoader& loader, const QString& library)
{
    if (const Outcome<void> registered = ensureAddInRegistered(library); !registered)
        return {registered.error()};
    return loader.connectRegistered();
}

} // namespace tilemond::app
