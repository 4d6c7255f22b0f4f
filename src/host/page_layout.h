#pragma once

#include <QSize>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilemond::host {

// Whether a browser may show the page's pictures at other sizes than their width and height
// attributes say: a style sheet, a style attribute or a percentage can size them. Pages without
// any of these need no browser engine to know their pictures' sizes.
bool layoutSizesPictures(std::string_view source);

// The sizes a browser engine (Chromium, through Qt WebEngine) lays out the page's pictures at in a
// window `viewportWidth` pixels wide, one for each src in `srcs` (the page's img elements in
// document order): nullopt for a picture the engine does not show, or when the page cannot be
// laid out in time. Nothing is fetched from the network and the page's own scripts do not run.
// Needs a QApplication.
std::vector<std::optional<QSize>> laidOutPictureSizes(const std::string& source,
                                                      const QString& pagePath,
                                                      const std::vector<std::string>& srcs,
                                                      int viewportWidth);

} // namespace tilemond::host
