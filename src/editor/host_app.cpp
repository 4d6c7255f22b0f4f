#include "editor/host_app.h"

namespace tilemond {

host::ApplicationPtr HostApp;

} // namespace tilemond
