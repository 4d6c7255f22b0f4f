#include "page/page_elements.h"

#include <algorithm>
#include <functional>
#include <tuple>

namespace tilemond::host {

namespace {

bool startsBefore(const ParsedElement& element, std::size_t offset)
{
    return element.start < offset;
}

// A page's elements of one tag (or all of them) as positions into its element list.
struct Indexes
{
    const std::vector<std::size_t>* list = nullptr; // nullptr: every element
    std::size_t size = 0;

    Indexes(const ParsedPage& page, const ParsedPage::Index ParsedPage::*index,
            const std::optional<std::string>& key)
    {
        static const std::vector<std::size_t> none;
        if (!key) {
            size = page.elements.size();
            return;
        }
        const auto found = (page.*index).find(*key);
        list = found != (page.*index).end() ? &found->second : &none;
        size = list->size();
    }

    std::size_t operator[](std::size_t position) const
    {
        return list ? (*list)[position] : position;
    }
    // How many of them stand before the element at `index`.
    std::size_t before(std::size_t index) const
    {
        return list ? std::size_t(std::lower_bound(list->begin(), list->end(), index) -
                                  list->begin())
                    : std::min(index, size);
    }
};

} // namespace

// The positions of one tag's elements: those of m_page up to the refilled container, then the
// refilled content's, then m_page's again after the old content.
struct PageElements::TagRun
{
    Indexes page;
    std::optional<Indexes> content;
    std::size_t before = 0; // m_page's elements up to the container
    std::size_t resume = 0; // where m_page's list goes on after the old content
};

PageElements::TagRun PageElements::run(const std::optional<std::string>& key,
                                       const ParsedPage::Index ParsedPage::*index) const
{
    TagRun run{Indexes(m_page, index, key), std::nullopt, 0, 0};
    if (!m_refilled) {
        run.before = run.resume = run.page.size;
        return run;
    }
    run.content.emplace(m_refilled->content, index, key);
    run.before = run.page.before(m_refilled->container + 1);
    run.resume = run.page.before(m_refilled->afterContent);
    return run;
}

std::size_t PageElements::count(const std::optional<std::string>& tag) const
{
    const TagRun run = this->run(tag, &ParsedPage::byTag);
    return run.before + (run.content ? run.content->size : 0) + run.page.size - run.resume;
}

const ParsedElement& PageElements::at(const std::optional<std::string>& tag,
                                      std::size_t position) const
{
    const TagRun run = this->run(tag, &ParsedPage::byTag);
    if (position < run.before)
        return m_page.elements[run.page[position]];
    position -= run.before;
    if (run.content && position < run.content->size)
        return m_refilled->content.elements[(*run.content)[position]];
    position -= run.content ? run.content->size : 0;
    return m_page.elements[run.page[run.resume + position]];
}

std::vector<const ParsedElement*> PageElements::named(const std::string& idOrName) const
{
    const TagRun run = this->run(idOrName, &ParsedPage::byIdOrName);
    std::vector<const ParsedElement*> found;
    for (std::size_t i = 0; i < run.before; ++i)
        found.push_back(&m_page.elements[run.page[i]]);
    for (std::size_t i = 0; run.content && i < run.content->size; ++i)
        found.push_back(&m_refilled->content.elements[(*run.content)[i]]);
    for (std::size_t i = run.resume; i < run.page.size; ++i)
        found.push_back(&m_page.elements[run.page[i]]);
    return found;
}

const ParsedElement* PageElements::startingAt(std::size_t offset) const
{
    if (m_refilled && offset >= m_refilled->newContentEnd)
        return m_page.elementStartingAt(offset - m_refilled->newContentEnd +
                                        m_refilled->contentEnd);
    if (m_refilled && offset >= m_page.elements[m_refilled->container].tagEnd)
        return m_refilled->content.elementStartingAt(offset);
    return m_page.elementStartingAt(offset);
}

const ParsedElement* PageElements::body() const
{
    return m_page.body ? &m_page.elements[*m_page.body] : nullptr;
}

bool PageElements::isRefilled(const ParsedElement& element) const
{
    if (!m_refilled || m_refilled->content.elements.empty())
        return false;
    const auto& content = m_refilled->content.elements;
    return std::less_equal<const ParsedElement*>()(&content.front(), &element) &&
           std::less_equal<const ParsedElement*>()(&element, &content.back());
}

// Offsets after the old content move. Of those at its very end, only the ends of elements do: an
// empty container's start tag ends there too.
std::size_t PageElements::moved(std::size_t offset, bool isEnd) const
{
    const bool moves = m_refilled && (offset > m_refilled->contentEnd ||
                                      (isEnd && offset == m_refilled->contentEnd));
    return moves ? offset - m_refilled->contentEnd + m_refilled->newContentEnd : offset;
}

Placement PageElements::place(const ParsedElement& element) const
{
    if (isRefilled(element))
        return {element.start, element.tagEnd, element.contentEnd, element.end};
    return {moved(element.start, false), moved(element.tagEnd, false),
            moved(element.contentEnd, true), moved(element.end, true)};
}

std::pair<std::size_t, std::size_t>
PageElements::valueSpan(const ParsedElement& element, const ParsedElement::Attribute& value) const
{
    if (isRefilled(element))
        return {value.valueBegin, value.valueEnd};
    return {moved(value.valueBegin, false), moved(value.valueEnd, false)};
}

void PageElements::flatten()
{
    if (!m_refilled)
        return;
    auto& elements = m_page.elements;
    for (auto& element : elements) {
        const Placement placed = place(element);
        std::tie(element.start, element.tagEnd, element.contentEnd, element.end) =
            std::tie(placed.start, placed.tagEnd, placed.contentEnd, placed.end);
        for (auto& attribute : element.attributes)
            std::tie(attribute.valueBegin, attribute.valueEnd) = valueSpan(element, attribute);
    }
    const auto first = elements.begin() + std::ptrdiff_t(m_refilled->container + 1);
    const auto at =
        elements.erase(first, elements.begin() + std::ptrdiff_t(m_refilled->afterContent));
    auto& content = m_refilled->content.elements;
    elements.insert(at, std::make_move_iterator(content.begin()),
                    std::make_move_iterator(content.end()));
    m_refilled.reset();
    m_page = ParsedPage::of(std::move(elements));
}

bool PageElements::follow(const PageSource& source, const Splice& edit, std::string_view removed)
{
    // A frameset further on may hinge on whether the body has content yet.
    if (m_page.byTag.contains("FRAMESET"))
        return false;
    if (m_refilled && refill(source, edit))
        return true;
    flatten();
    return startRefill(source, edit, removed);
}

// An edit inside the content already parsed again: the content's top-level elements it touches
// are parsed again, with the bytes between them and their neighbours. That content parsed
// cleanly, every element closed by its own end tag, so between two of its top-level elements
// the parser stands as at the content's start: what stands there parses alone as it does in the
// whole, and a clean parse of it leaves the whole clean.
bool PageElements::refill(const PageSource& source, const Splice& edit)
{
    const ParsedElement& container = m_page.elements[m_refilled->container];
    if (edit.begin < container.tagEnd || edit.end > m_refilled->newContentEnd)
        return false;
    ParsedPage& content = m_refilled->content;
    const auto span =
        content.topLevelAround(edit.begin, edit.end, container.tagEnd, m_refilled->newContentEnd);
    auto parsed = parseContent(container.tagName, source.slice(span.begin, edit.shifted(span.end)),
                               span.begin);
    if (!parsed)
        return false;
    content.replace(span.first, span.last, std::move(*parsed),
                    std::ptrdiff_t(edit.length) - std::ptrdiff_t(edit.end - edit.begin));
    m_refilled->newContentEnd = edit.shifted(m_refilled->newContentEnd);
    return true;
}

bool PageElements::startRefill(const PageSource& source, const Splice& edit,
                               std::string_view removed)
{
    const auto& elements = m_page.elements;
    const auto after = std::lower_bound(elements.begin(), elements.end(), edit.begin, startsBefore);
    // The innermost element whose content holds the edited span.
    const auto inner = std::find_if(std::make_reverse_iterator(after), elements.rend(),
                                    [&](const ParsedElement& element) {
                                        return element.hasContent && element.tagEnd <= edit.begin &&
                                               edit.end <= element.contentEnd;
                                    });
    if (inner == elements.rend())
        return false;
    const ParsedElement& container = *inner;
    // Without its own end tag the container's extent depends on what follows.
    if (container.end == container.contentEnd || !parsesAlone(container.tagName))
        return false;
    const std::size_t newContentEnd = edit.shifted(container.contentEnd);
    auto content = parseContent(container.tagName, source.slice(container.tagEnd, newContentEnd),
                                container.tagEnd);
    if (!content)
        return false;
    // The old content has to have kept to itself too, or the rest of the page was parsed
    // with what it left behind (an open form, say).
    std::string oldContent(source.slice(container.tagEnd, edit.begin));
    oldContent += removed;
    oldContent += source.slice(edit.after(), newContentEnd);
    if (!parseContent(container.tagName, oldContent, container.tagEnd))
        return false;
    const auto index = std::size_t(std::prev(inner.base()) - elements.begin());
    const auto afterContent =
        std::lower_bound(inner.base(), elements.end(), container.contentEnd, startsBefore);
    m_refilled = Refilled{index, std::size_t(afterContent - elements.begin()), container.contentEnd,
                          newContentEnd, std::move(*content)};
    return true;
}

} // namespace tilemond::host
