#pragma once

namespace tilemond {

// Removes every cut marker, the horizontal ones first, and sets both counters to -1.
void ClearMarkers();

} // namespace tilemond
