#pragma once

#include "host/command_bars.h"

namespace tilemond::host {

// The lasting controls of the bars in a small JSON file. The host's built-in
// controls are written only as anchors by caption, so that an added control
// comes back at its place. A missing or broken file means no saved controls.
void saveAddedControls(const QString& file,
                       const std::vector<std::shared_ptr<HostCommandBar>>& bars);
void restoreAddedControls(const QString& file,
                          const std::vector<std::shared_ptr<HostCommandBar>>& bars);

} // namespace tilemond::host
