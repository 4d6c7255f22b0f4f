#pragma once

namespace tilemond {

// The caption of both editor windows and the title of the editor's messages.
inline constexpr char TilemondCaption[] = "Tessora Tilemond";

} // namespace tilemond
