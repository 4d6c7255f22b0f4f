#pragma once

#include <QString>

#include <string>
#include <vector>

namespace tilemond::app {

// The page before a split, as the check needs it: its bytes, where it was, and which of its
// pictures (its src attributes in page order, and the one split).
struct PageBefore
{
    std::string source;
    QString path;
    std::vector<std::string> srcs;
    int picture = -1;
};

struct SplitCheck
{
    bool seamless = false;
    QString said; // "seamless: ...", or where and by how much the place differs, or why unknown
};

// Paints the page before the split and the page saved at `savedPath` in the browser engine, in a
// window `viewportWidth` wide, and compares the picture's place pixel for pixel.
SplitCheck checkSplit(const PageBefore& before, const QString& savedPath, int viewportWidth);

} // namespace tilemond::app
