#pragma once

#include "page/page_source.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tilemond::host {

// One element whose start tag stands in the page, with the byte offsets of its parts.
struct ParsedElement
{
    struct Attribute
    {
        std::string name;  // lower case
        std::string value; // with character references resolved
        // Where the value is written, quotes excluded (empty for a bare attribute).
        std::size_t valueBegin = 0;
        std::size_t valueEnd = 0;
    };

    std::string tagName; // upper case
    std::size_t start = 0;
    std::size_t tagEnd = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
    bool hasContent = true; // false for img and the other void elements
    std::size_t depth = 0;  // how many elements of its parse hold it
    std::vector<Attribute> attributes;

    const Attribute* attribute(std::string_view name) const;
};

// The elements of one version of the page, in the order their start tags stand.
struct ParsedPage
{
    using Index = std::unordered_map<std::string, std::vector<std::size_t>>; // into elements

    std::vector<ParsedElement> elements;
    Index byTag;
    Index byIdOrName;                // by the values of their id and name attributes
    std::optional<std::size_t> body; // the body element, when the page has a body tag

    const ParsedElement* elementStartingAt(std::size_t offset) const;
    // A page of these elements, in document order, with its indexes.
    static ParsedPage of(std::vector<ParsedElement> elements);

    // The elements [first, last) give way to `parsed`, whose bytes stand in their place; the
    // elements after them move by `moved` bytes.
    void replace(std::size_t first, std::size_t last, ParsedPage parsed, std::ptrdiff_t moved);
    // The elements [first, last) of the top level around the bytes [begin, end), and the bytes
    // from the end of the top-level element before them (or contentBegin) to the start of the
    // one after them (or contentEnd): what a parse of those bytes alone replaces.
    struct TopLevelSpan
    {
        std::size_t first, last;
        std::size_t begin, end;
    };
    TopLevelSpan topLevelAround(std::size_t begin, std::size_t end, std::size_t contentBegin,
                                std::size_t contentEnd) const;

private:
    void findBody();
};

ParsedPage parsePage(std::string_view bytes);

// Whether the content of a container with this (upper-case) tag may be parsed on its own.
bool parsesAlone(std::string_view containerTag);

// The elements of the content of a container with this (upper-case) tag, parsed on their own;
// the content stands at `at` in the page. Nullopt unless that answers as a parse of the whole
// page would: the container's content parses alone as it does in a page, and keeps to itself.
std::optional<ParsedPage> parseContent(std::string_view containerTag, std::string_view content,
                                       std::size_t at);

} // namespace tilemond::host
