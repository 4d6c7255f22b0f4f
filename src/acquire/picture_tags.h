#pragma once

#include <string_view>

namespace tilemond {

// The number of picture elements whose start tag stands in this piece of a page's body: img tags
// in any letter case, the way the page's own parser sees them, so that tags inside comments,
// scripts, styles and attribute values do not count.
int countPictureTags(std::string_view html);

} // namespace tilemond
