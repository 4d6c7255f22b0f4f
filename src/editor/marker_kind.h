#pragma once

namespace tilemond {

// Vertical markers (the preview's array Hori1) move along X and are placed by their Left;
// horizontal markers (Vert1) move along Y and are placed by their Top.
enum class MarkerKind { Vertical, Horizontal };

} // namespace tilemond
