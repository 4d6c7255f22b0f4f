#pragma once

#include <string>
#include <string_view>

namespace tilemond {

// Replaces every occurrence of `find` in `text` by `replacement`, left to right and without
// overlaps, comparing letters without regard to case (ASCII letters; other bytes exactly). The
// replacement is never searched again. An empty `find` leaves the text as it is.
std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement);

} // namespace tilemond
