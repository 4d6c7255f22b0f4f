#include "page/page_model.h"

#include <algorithm>

namespace tilemond::host {

PageModel::PageModel(std::string bytes, bool xml) : m_source(std::move(bytes)), m_xml(xml)
{
    // A page opens with the caret at the end of the body's content.
    const auto body = resolve(bodyHandle());
    const std::size_t caret = body ? body->contentEnd : m_source.size();
    m_selection = m_source.track(TrackedSpan::Kind::Range, caret, caret);
}

const PageElements& PageModel::parsed()
{
    if (!m_parsed || m_parsedAtEdit != m_source.edits()) {
        // After a single edit, often only the content of one element needs parsing again.
        const bool oneEditBehind = m_parsed && m_parsedAtEdit == m_source.edits() - 1;
        if (!oneEditBehind ||
            !m_parsed->follow(m_source, m_source.lastEdit(), m_source.lastRemoved())) {
            m_parsed.reset(); // a large page's old parse need not outlive the new one's start
            m_parsed.emplace(parsePage(m_source.bytes()));
        }
        m_parsedAtEdit = m_source.edits();
    }
    return *m_parsed;
}

void PageModel::select(std::size_t begin, std::size_t end)
{
    m_selection->begin = std::min(begin, m_source.size());
    m_selection->end = std::clamp(end, m_selection->begin, m_source.size());
}

TrackedSpanPtr PageModel::trackElement(const ParsedElement& element)
{
    const Placement placed = parsed().place(element);
    return m_source.track(TrackedSpan::Kind::StartTag, placed.start, placed.tagEnd);
}

std::optional<ElementSpans> PageModel::resolve(const TrackedSpanPtr& startTag)
{
    if (!startTag)
        return ElementSpans{"BODY", 0, 0, m_source.size(), m_source.size(), true, nullptr};
    if (startTag->dead)
        return std::nullopt;
    const ParsedElement* element = parsed().startingAt(startTag->begin);
    if (!element)
        return std::nullopt;
    const Placement placed = parsed().place(*element);
    if (placed.tagEnd != startTag->end)
        return std::nullopt;
    return ElementSpans{element->tagName, placed.start,        placed.tagEnd, placed.contentEnd,
                        placed.end,       element->hasContent, element};
}

TrackedSpanPtr PageModel::bodyHandle()
{
    const ParsedElement* body = parsed().body();
    return body ? trackElement(*body) : nullptr;
}

} // namespace tilemond::host
