#pragma once

#include "page/laid_out_picture.h"
#include "page/page_elements.h"
#include "page/page_source.h"

#include <functional>
#include <memory>
#include <optional>

namespace tilemond::host {

// Where an element's parts stand in the page right now.
struct ElementSpans
{
    std::string tagName;
    std::size_t start = 0;
    std::size_t tagEnd = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
    bool hasContent = true;
    const ParsedElement* parsed = nullptr; // nullptr for the body a page without body tag implies
};

// One open page: its bytes, its selection and the parse of its latest version.
class PageModel
{
public:
    // xml: the page is read as XML (an .xhtml file), so what is written into it has to be
    // well-formed.
    explicit PageModel(std::string bytes, bool xml = false);

    bool isXml() const { return m_xml; }

    PageSource& source() { return m_source; }
    const PageSource& source() const { return m_source; }
    // The page's elements now; parses again only what changed since the last call.
    const PageElements& parsed();

    const TrackedSpan& selection() const { return *m_selection; }
    void select(std::size_t begin, std::size_t end);

    TrackedSpanPtr trackElement(const ParsedElement& element);
    // The element a start-tag handle follows; nullopt once an edit removed it.
    // A null handle stands for the page's implied body: the whole page.
    std::optional<ElementSpans> resolve(const TrackedSpanPtr& startTag);
    // The body element's handle (null when the page has no body tag).
    TrackedSpanPtr bodyHandle();

    // How a browser lays out the page's picture of this place among its img elements, where
    // known (set by the host that knows a browser engine).
    using PictureLayout = std::function<std::optional<LaidOutPicture>(std::size_t picture)>;
    void setPictureLayout(PictureLayout layout) { m_layout = std::move(layout); }
    std::optional<LaidOutPicture> laidOutPicture(std::size_t picture) const
    {
        return m_layout ? m_layout(picture) : std::nullopt;
    }

private:
    PageSource m_source;
    std::optional<PageElements> m_parsed;
    int m_parsedAtEdit = -1;
    TrackedSpanPtr m_selection;
    bool m_xml;
    PictureLayout m_layout;
};

} // namespace tilemond::host
