#include "platform/registry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <functional>

namespace tilemond {
namespace {

QString g_configFolder;

// Runs `edit` on the settings and writes them out, unless the file could not be read.
QString writeSettings(const std::function<void(QSettings&)>& edit)
{
    const QString folder = Registry::configFolder();
    if (!QDir().mkpath(folder))
        return QStringLiteral("Cannot create the folder %1.").arg(folder);
    QSettings settings(Registry::filePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return QStringLiteral("Cannot read %1; it was left as it is.").arg(Registry::filePath());
    edit(settings);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return QStringLiteral("Cannot write %1.").arg(Registry::filePath());
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
    QSettings settings(filePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return {};
    settings.beginGroup(keyPath);
    return settings.childGroups();
}

QVariant Registry::value(const QString& keyPath, const QString& name)
{
    QSettings settings(filePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return {};
    settings.beginGroup(keyPath);
    return settings.value(name);
}

QString Registry::setValues(const QString& keyPath, const QVariantMap& values)
{
    return writeSettings([&](QSettings& settings) {
        settings.beginGroup(keyPath);
        for (auto value = values.begin(); value != values.end(); ++value)
            settings.setValue(value.key(), value.value());
    });
}

QString Registry::deleteKey(const QString& keyPath)
{
    return writeSettings([&](QSettings& settings) { settings.remove(keyPath); });
}

} // namespace tilemond
