#pragma once

#include "layout/page_layout.h"
#include "pictures/picture_format.h"
#include "platform/outcome.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tilemond::app {

// What the program was asked to do.
enum class Command { Desktop, Split, Register, Unregister, Help, Version };

// Exit codes: done, failure (files, pictures), usage error.
namespace Exit {
inline constexpr int Done = 0;
inline constexpr int Failure = 1;
inline constexpr int Usage = 2;
} // namespace Exit

// `tilemond split`: which picture, where to cut and where the result goes.
struct SplitOptions
{
    QString page;
    // Exactly one of these names the picture.
    std::optional<int> image; // zero-based, in document order
    std::optional<QString> id;
    std::optional<QString> picture; // a picture file; the pieces go to the end of the body
    std::vector<int> vertical;      // x of each vertical cut, picture pixels
    std::vector<int> horizontal;    // y of each horizontal cut
    bool table = false;
    std::optional<QString> output; // a copy of the page; PAGE itself is left alone
    host::PictureFormat pictures;  // how the pieces are written
    int viewport = layout::kDefaultViewportWidth; // the width the page is laid out in; 0: none
    bool check = false;            // compare the page's paint before and after, and say it
    bool verify = false;           // the same, and a difference is a failure
};

struct CommandLine
{
    Command command = Command::Desktop;
    std::optional<QString> page; // the desktop's page to open
    SplitOptions split;
    std::optional<qint64> maxPixels; // the most pixels a picture may have, when not the default
};

// A command line, or the reason it is not one (naming the bad argument). arguments: without the
// program name.
Outcome<CommandLine> parseCommandLine(const QStringList& arguments);

QString usageText();
QString versionText();

} // namespace tilemond::app
