#pragma once

#include <QString>

namespace tilemond {

// The add-in's own library file, absolute; empty when the system cannot tell.
QString addInLibraryPath();

} // namespace tilemond
