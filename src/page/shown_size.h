#pragma once

#include "page/page_parse.h"
#include "pictures/picture_file.h"

namespace tilemond::host {

// The size the page shows a picture element at: its width and height attributes, read as a
// browser reads them ("250", "250px", "250.5"; a percentage, 0 or text give no size), one given
// alone keeping the picture's shape. Nothing (its own size) when neither gives a size.
ShownSize shownSize(const ParsedElement& image);

} // namespace tilemond::host
