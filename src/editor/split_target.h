#pragma once

#include "host_api/page_document.h"

namespace tilemond {

// Where the pieces of a split go: where the editor's picture came from when the editor opened,
// whatever the user selected in the page since.
struct SplitTarget
{
    // The page's picture the editor took; null for a picture from a file.
    host::ElementPtr picture;
    // The page's selection when the picture was taken (the caret, for a picture from a file);
    // null when no page was there to ask.
    host::TextRangePtr place;
};

} // namespace tilemond
