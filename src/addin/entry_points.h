#pragma once

#include "host_api/add_in.h"

// The component entry points of the add-in library. The classes it makes:
// "TessoraTilemond.Connect" (the add-in), "TessoraTilemond.chVSplitter" and
// "TessoraTilemond.ctHSplitter" (the cut marker controls).

#define TILEMOND_EXPORT extern "C" __attribute__((visibility("default")))

// Registers "TessoraTilemond.Connect" as an add-in that the host connects at its start:
// display name, description, load behaviour 3 and this library's path. Returns an HResult.
TILEMOND_EXPORT int DllRegisterServer();
// Removes that registration; one that is not there is no error.
TILEMOND_EXPORT int DllUnregisterServer();
TILEMOND_EXPORT int DllGetClassObject(const char* progId, tilemond::host::ClassFactory** factory);
TILEMOND_EXPORT int DllCanUnloadNow();
