#pragma once

#include "host/add_in_loader.h"
#include "platform/outcome.h"

#include <QString>
#include <QStringList>

namespace tilemond::app {

// The add-in library that this program loads at run time: installed beside the program, or else
// in its build folder. Absolute; the file may be missing.
QString addInLibrary();

// Registers the add-in in `library` unless the registry already names that file, so that a
// fresh machine needs no step of its own.
Outcome<void> ensureAddInRegistered(const QString& library);

// `tilemond register` and `tilemond unregister`: the entry points of the add-in library.
Outcome<void> registerAddIn(const QString& library);
Outcome<void> unregisterAddIn(const QString& library);

// Registers the add-in in `library` when needed and connects the registered add-ins to the
// host, as the host does at its start. Returns the errors.
QStringList connectAddIns(host::AddInLoader& loader, const QString& library = addInLibrary());

} // namespace tilemond::app
