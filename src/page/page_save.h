#pragma once

#include "page/page_file.h"
#include "page/page_model.h"
#include "page/pasted_pictures.h"

namespace tilemond::host {

// Writes the pasted pictures that the page still names into the folder next to
// path, then the page itself, atomically. A picture that has to take another
// name there gets its src attributes rewritten. Saved into another folder than
// the page's own (fromPath), the page's picture files go with it or are pointed
// at where they are (carriedPictures). On failure nothing changes: the page on
// disk stays as it was, the files written in this attempt are removed. `leftBehind` gets a line
// for each picture file that was not copied along, and why.
Outcome<void> savePage(PageModel& page, PastedPictures& pictures, const QString& fromPath,
                       const QString& path, QStringList& leftBehind);

} // namespace tilemond::host
