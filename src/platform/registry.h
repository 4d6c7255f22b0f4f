#pragma once

#include "platform/outcome.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace tilemond {

// The user's registry: keys ("Software/Microsoft/...") holding named values, kept in one ini
// file in the config folder. A missing or unreadable file reads as empty; a file that cannot be
// read is never written over.
class Registry
{
public:
    // The folder set by setConfigFolder, else $TILEMOND_CONFIG_HOME, else
    // <generic config location>/tilemond.
    static QString configFolder();
    // An empty folder brings back the default.
    static void setConfigFolder(const QString& folder);
    static QString filePath();

    // The names of the keys directly below keyPath.
    static QStringList subKeys(const QString& keyPath);
    // An invalid QVariant when the value is not there.
    static QVariant value(const QString& keyPath, const QString& name);
    // Adds or replaces values of the key, creating it.
    static Outcome<void> setValues(const QString& keyPath, const QVariantMap& values);
    // Removes the key with its values and subkeys; a missing key is no error.
    static Outcome<void> deleteKey(const QString& keyPath);
};

} // namespace tilemond
