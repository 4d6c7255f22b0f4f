#pragma once

#include "page/page_parse.h"

#include <optional>
#include <string>
#include <vector>

namespace tilemond::host {

// Where an element's parts stand in the page now.
struct Placement
{
    std::size_t start = 0;
    std::size_t tagEnd = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

// The page's elements as they stand now, kept up to date edit by edit. Edits inside one
// container (a split fills and empties the same one over and over) cost what its content costs,
// whatever the page's size: the rest of the page keeps the offsets of an earlier parse and is
// moved along only when it is read, or when an edit goes elsewhere.
class PageElements
{
public:
    explicit PageElements(ParsedPage page) : m_page(std::move(page)) {}

    // Follows `edit`, after which the page is `source`; `removed` are the bytes it replaced.
    // False when only a parse of the whole page would answer right.
    bool follow(const PageSource& source, const Splice& edit, std::string_view removed);

    // The elements in document order, all of them (no tag) or those of one upper-case tag.
    std::size_t count(const std::optional<std::string>& tag = std::nullopt) const;
    const ParsedElement& at(const std::optional<std::string>& tag, std::size_t position) const;
    const ParsedElement* startingAt(std::size_t offset) const;
    // The elements whose id or name is this, in document order.
    std::vector<const ParsedElement*> named(const std::string& idOrName) const;
    // The body element, when the page has a body tag.
    const ParsedElement* body() const;

    // Where an element of this page stands, and where one of its attribute values is written.
    Placement place(const ParsedElement& element) const;
    std::pair<std::size_t, std::size_t> valueSpan(const ParsedElement& element,
                                                  const ParsedElement::Attribute& value) const;

private:
    // A container whose content was parsed again since m_page: its old content's elements in
    // m_page are passed over, and what stood after its old content has moved by the new
    // content's length.
    struct Refilled
    {
        std::size_t container;    // index in m_page
        std::size_t afterContent; // index in m_page of the first element after the old content
        std::size_t contentEnd;   // in m_page's offsets; every later offset there moves
        std::size_t newContentEnd;
        ParsedPage content; // in the page's offsets now
    };
    struct TagRun; // one tag's elements around the refilled content

    // Makes m_page the page as it stands now.
    void flatten();
    bool refill(const PageSource& source, const Splice& edit);
    bool startRefill(const PageSource& source, const Splice& edit, std::string_view removed);
    bool isRefilled(const ParsedElement& element) const;
    std::size_t moved(std::size_t offset, bool isEnd) const;
    // The elements under this key of the index (all of them without a key).
    TagRun run(const std::optional<std::string>& key,
               const ParsedPage::Index ParsedPage::*index) const;

    ParsedPage m_page;
    std::optional<Refilled> m_refilled;
};

} // namespace tilemond::host
