#pragma once

#include "host/add_in_loader.h"

#include <QString>
#include <QStringList>

namespace tilemond::app {

// Registers the add-in this program carries unless the registry already names its library, so
// that a fresh machine needs no step of its own. Returns an error text.
QString ensureAddInRegistered();

// `tilemond register` and `tilemond unregister`: the add-in's own entry points. Return an error
// text.
QString registerAddIn();
QString unregisterAddIn();

// Registers the add-in when needed and connects the registered add-ins to the host, as the
// host does at its start. Returns the errors.
QStringList connectAddIns(host::AddInLoader& loader);

} // namespace tilemond::app
