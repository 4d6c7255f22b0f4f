#pragma once

namespace tilemond {

// Lets the event loop process the pending events once, n times in a row.
void yieldEvents(int n);

} // namespace tilemond
