#pragma once

#include <QSize>

#include <map>
#include <string>

namespace tilemond::host {

// A picture as a browser engine lays the page out: the size it shows the picture at, and what
// of its style places it among its neighbours ("display", "float", "vertical-align",
// "margin-top" .. "margin-left", "max-width", "width"), each as the page gives it: "auto" for a
// margin the browser works out, "100%" for a share of what holds the picture, else pixels.
struct LaidOutPicture
{
    QSize size;
    std::map<std::string, std::string> style;
};

} // namespace tilemond::host
