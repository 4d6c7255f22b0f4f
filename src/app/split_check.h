#pragma once

#include "host/page_host.h"

#include <QString>

namespace tilemond::app {

struct SplitCheck
{
    bool seamless = false;
    QString said; // "seamless: ...", or where and by how much the place differs, or why unknown
};

// Paints the page before the split (its picture selected) and the page saved at `savedPath` in
// the browser engine, in a window `viewportWidth` wide, and compares the picture's place pixel
// for pixel.
SplitCheck checkSplit(const host::PageState& before, const QString& savedPath, int viewportWidth);
// The same for the page `host` holds now, not saved: its pasted pictures come from memory.
SplitCheck checkShownSplit(host::PageHost& host, const host::PageState& before, int viewportWidth);

} // namespace tilemond::app
