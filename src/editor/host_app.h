#pragma once

#include "host_api/application.h"

namespace tilemond {

// The host application, kept from connection to disconnection; every host operation goes
// through it.
extern host::ApplicationPtr HostApp;

} // namespace tilemond
