#pragma once

#include "platform/outcome.h"

#include <cstddef>
#include <string_view>

namespace tilemond::host {

// The parser's work grows with the depth of the open elements at every tag, and with the square
// of a tag's attributes. Browsers stop nesting 512 deep; pages beyond these bounds are made to
// take the parser's time, and are refused.
inline constexpr std::size_t kMaxNestingDepth = 1024;
inline constexpr std::size_t kMaxAttributes = 1024;
// Every element costs the parser's tree and the page's element list some hundred bytes: a page of
// millions of tiny elements would take gigabytes. Real pages, the largest one-page manuals among
// them, hold a few hundred thousand.
inline constexpr std::size_t kMaxElements = 1000000;

// Whether the page is within the parser's bounds; why not ("its elements nest more than 1024
// deep", "it holds more than 1000000 elements").
// The depth counts the open elements that need an end tag: an end tag closes its element and
// those opened in it, stray end tags and elements whose end tag may be left out do not count,
// and comments, scripts and styles are passed over.
Outcome<void> checkParserBounds(std::string_view html);

} // namespace tilemond::host
