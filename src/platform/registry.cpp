#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>

namespace tilemond {
namespace {

QString g_configFolder;

// QSettings keeps parsed files in a process-wide cache and tells of a broken file only the
// object that parsed it first, so every access parses a private copy of the file, made in
// copyFolder. Runs `use` on it and writes it back into the copy; false when the file cannot be
// read or the copy written.
bool useCopy(const QTemporaryDir& copyFolder, const std::function<void(QSettings&)>& use)
{
    const QString file = Registry::filePath();
    const QString copy = copyFolder.filePath(QStringLiteral("registry.ini"));
    if (!copyFolder.isValid() || (QFile::exists(file) && !QFile::copy(file, copy)))
        return false;
    QSettings settings(copy, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return false;
    use(settings);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void read(const std::function<void(QSettings&)>& use)
{
    const QTemporaryDir copyFolder;
    useCopy(copyFolder, use);
}

// The edited copy replaces the file in one step, so a failure leaves the file as it was.
Outcome<void> write(const std::function<void(QSettings&)>& edit)
{
    const QString folder = Registry::configFolder();
    const QString file = Registry::filePath();
    if (!QDir().mkpath(folder))
        return Unexpected(QStringLiteral("Cannot create the folder %1.").arg(folder));
    const QTemporaryDir copyFolder(folder + QStringLiteral("/registry-XXXXXX"));
    std::error_code failed;
    if (useCopy(copyFolder, edit))
        std::filesystem::rename(
            QFile::encodeName(copyFolder.filePath(QStringLiteral("registry.ini"))).toStdString(),
            QFile::encodeName(file).toStdString(), failed);
    else
        failed = std::make_error_code(std::errc::io_error);
    if (failed)
        return Unexpected(QStringLiteral("Cannot update %1; it was left as it is.").arg(file));
    return {};
}

} // namespace

QString Registry::configFolder()
{
    if (!g_configFolder.isEmpty())
        return g_configFolder;
    const QString fromEnvironment = qEnvironmentVariable("TILEMOND_CONFIG_HOME");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tilemond");
}

void Registry::setConfigFolder(const QString& folder)
{
    g_configFolder = folder;
}

QString Registry::filePath()
{
    return configFolder() + QStringLiteral("/registry.ini");
}

QStringList Registry::subKeys(const QString& keyPath)
{
    QStringList keys;
    read([&](QSettings& settings) {
        settings.beginGroup(keyPath);
        keys = settings.childGroups();
    });
    return keys;
}

QVariant Registry::value(const QString& keyPath, const QString& name)
{
    QVariant value;
    read([&](QSettings& settings) { value = settings.value(keyPath + '/' + name); });
    return value;
}

Outcome<void> Registry::setValues(const QString& keyPath, const QVariantMap& values)
{
    return write([&](QSettings& settings) {
        settings.beginGroup(keyPath);
        for (auto value = values.begin(); value != values.end(); ++value)
            settings.setValue(value.key(), value.value());
    });
}

Outcome<void> Registry::deleteKey(const QString& keyPath)
{
    return write([&](QSettings& settings) { settings.remove(keyPath); });
}

} // namespace tilemond
