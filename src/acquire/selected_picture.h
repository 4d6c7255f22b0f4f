#pragma once

#include "host_api/application.h"

#include <optional>

namespace tilemond {

// The place in the page's images of the picture the host selection holds: the first picture
// element whose tag starts at or after the selection's start. nullopt when the selection holds
// no picture, or there is no page or selection to ask.
std::optional<int> selectedPictureIndex(host::Application& host);

// Makes the page's selection exactly the picture at `index` of the page's images, through the
// host's active window. Returns the picture, or null, changing nothing, when there is no such
// picture.
host::ElementPtr selectPicture(host::Application& host, int index);

// A range over the page's selection as it is now; null without a page.
host::TextRangePtr selectionNow(host::Application& host);

// Runs the host's "Edit" > "Copy". Returns false when the host offers no such command.
bool copyInHost(host::Application& host);

} // namespace tilemond
