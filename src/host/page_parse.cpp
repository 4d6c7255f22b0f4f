#include "host/page_parse.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace tilemond::host {

namespace {

// Elements the parser made up or copied have no start tag of their own in the page.
constexpr unsigned NotWrittenFlags =
    GUMBO_INSERTION_BY_PARSER | GUMBO_INSERTION_IMPLIED | GUMBO_INSERTION_CONVERTED_FROM_END_TAG |
    GUMBO_INSERTION_FROM_ISINDEX | GUMBO_INSERTION_FROM_IMAGE |
    GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;

bool isVoidTag(std::string_view upperName)
{
    static constexpr std::array<std::string_view, 19> names = {
        "AREA", "BASE",  "BASEFONT", "BGSOUND", "BR",   "COL",   "EMBED",  "FRAME", "HR", "IMAGE",
        "IMG",  "INPUT", "KEYGEN",   "LINK",    "META", "PARAM", "SOURCE", "TRACK", "WBR"};
    return std::find(names.begin(), names.end(), upperName) != names.end();
}

std::string upperTagName(const GumboElement& element)
{
    std::string name;
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        name = gumbo_normalized_tagname(element.tag);
    } else {
        GumboStringPiece piece = element.original_tag;
        gumbo_tag_from_original_text(&piece);
        name.assign(piece.data, piece.length);
    }
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

class ElementCollector
{
public:
    // `bytes` were parsed; they stand at `base` in the page.
    ElementCollector(std::string_view bytes, std::size_t base, std::vector<ParsedElement>& into)
        : m_bytes(bytes), m_base(base), m_elements(into)
    {
    }

    // Walks the tree without recursion: pages nest deeper than a stack allows.
    void collect(std::vector<GumboNode*> pending)
    {
        while (!pending.empty()) {
            GumboNode* node = pending.back();
            pending.pop_back();
            if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
                continue;
            const GumboElement& element = node->v.element;
            if (!(node->parse_flags & NotWrittenFlags) && element.original_tag.length > 0)
                add(element);
            else
                ++m_unwritten;
            for (unsigned i = element.children.length; i > 0; --i)
                pending.push_back(static_cast<GumboNode*>(element.children.data[i - 1]));
        }
    }

    // Elements the parser made up or copied.
    int unwritten() const { return m_unwritten; }

private:
    std::size_t offsetOf(const char* data) const
    {
        return m_base + static_cast<std::size_t>(data - m_bytes.data());
    }

    void add(const GumboElement& element)
    {
        ParsedElement parsed;
        parsed.tagName = upperTagName(element);
        parsed.start = offsetOf(element.original_tag.data);
        parsed.tagEnd = parsed.start + element.original_tag.length;
        const std::string_view tag(element.original_tag.data, element.original_tag.length);
        const std::size_t endPos = m_base + element.end_pos.offset;
        const std::size_t bytesEnd = m_base + m_bytes.size();
        const bool selfClosing = tag.ends_with("/>") && endPos <= parsed.start;
        parsed.hasContent = !isVoidTag(parsed.tagName) && !selfClosing;
        if (!parsed.hasContent) {
            parsed.contentEnd = parsed.end = parsed.tagEnd;
        } else {
            // Without an end tag the element ends where the parser closed it.
            parsed.contentEnd = std::clamp<std::size_t>(endPos, parsed.tagEnd, bytesEnd);
            parsed.end = std::min(parsed.contentEnd + element.original_end_tag.length, bytesEnd);
        }
        for (unsigned i = 0; i < element.attributes.length; ++i)
            parsed.attributes.push_back(
                attribute(*static_cast<GumboAttribute*>(element.attributes.data[i])));
        m_elements.push_back(std::move(parsed));
    }

    ParsedElement::Attribute attribute(const GumboAttribute& gumbo) const
    {
        ParsedElement::Attribute attribute{gumbo.name, gumbo.value, 0, 0};
        const GumboStringPiece& written = gumbo.original_value;
        if (written.data && written.length > 0) {
            attribute.valueBegin = offsetOf(written.data);
            attribute.valueEnd = attribute.valueBegin + written.length;
            const char quote = written.data[0];
            if ((quote == '"' || quote == '\'') && written.length >= 2 &&
                written.data[written.length - 1] == quote) {
                ++attribute.valueBegin;
                --attribute.valueEnd;
            }
        } else {
            attribute.valueBegin = attribute.valueEnd =
                offsetOf(gumbo.original_name.data) + gumbo.original_name.length;
        }
        return attribute;
    }

    std::string_view m_bytes;
    std::size_t m_base;
    std::vector<ParsedElement>& m_elements;
    int m_unwritten = 0;
};

void sortByStart(std::vector<ParsedElement>& elements)
{
    // Document order is the order of the tags in the page, not the tree's order.
    std::stable_sort(
        elements.begin(), elements.end(),
        [](const ParsedElement& a, const ParsedElement& b) { return a.start < b.start; });
}

void indexTags(ParsedPage& page)
{
    page.byTag.clear();
    page.body.reset();
    for (std::size_t i = 0; i < page.elements.size(); ++i) {
        page.byTag[page.elements[i].tagName].push_back(i);
        if (!page.body && page.elements[i].tagName == "BODY")
            page.body = i;
    }
}

// Follows the tag indexes through the replacement of elements [first, last) by `added` ones.
void reindexTags(ParsedPage& page, std::size_t first, std::size_t last, std::size_t added)
{
    for (auto& [tag, indexes] : page.byTag) {
        const auto from = std::lower_bound(indexes.begin(), indexes.end(), first);
        const auto to = std::lower_bound(from, indexes.end(), last);
        for (auto index = to; index != indexes.end(); ++index)
            *index = *index - last + first + added;
        indexes.erase(from, to);
    }
    std::erase_if(page.byTag, [](const auto& tagged) { return tagged.second.empty(); });
    for (std::size_t i = first; i < first + added; ++i) {
        auto& indexes = page.byTag[page.elements[i].tagName];
        indexes.insert(std::upper_bound(indexes.begin(), indexes.end(), i), i);
    }
}

bool startsBefore(const ParsedElement& element, std::size_t offset)
{
    return element.start < offset;
}

// Containers whose content parses alone as it does in the page, as long as that content
// keeps to itself (see parseContent).
std::optional<GumboTag> isolatingContext(std::string_view upperName)
{
    if (upperName == "DIV")
        return GUMBO_TAG_DIV;
    if (upperName == "TD")
        return GUMBO_TAG_TD;
    if (upperName == "TH")
        return GUMBO_TAG_TH;
    return std::nullopt;
}

// Tags whose handling looks past their container at its ancestors or at the page's state.
bool reachesOutside(std::string_view upperName)
{
    static constexpr std::array<std::string_view, 18> names = {
        "A",  "NOBR", "BUTTON", "FORM", "LI",   "DD",   "DT",       "RB",   "RP",
        "RT", "RTC",  "SVG",    "MATH", "BODY", "HTML", "FRAMESET", "HEAD", "FRAME"};
    return std::find(names.begin(), names.end(), upperName) != names.end();
}

// The elements of a container's content parsed on its own; nullopt unless the content keeps
// to itself: no parse error, nothing the parser made up, every element closed by its own end
// tag and none that looks outside.
std::optional<std::vector<ParsedElement>> parseContent(std::string_view content, std::size_t base,
                                                       GumboTag context)
{
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = context;
    GumboOutput* output = gumbo_parse_with_options(&options, content.data(), content.size());
    std::vector<ParsedElement> elements;
    ElementCollector collector(content, base, elements);
    const GumboVector& top = output->root->v.element.children;
    std::vector<GumboNode*> pending;
    for (unsigned i = top.length; i > 0; --i)
        pending.push_back(static_cast<GumboNode*>(top.data[i - 1]));
    collector.collect(std::move(pending));
    const bool clean = output->errors.length == 0 && collector.unwritten() == 0;
    gumbo_destroy_output(&options, output);
    if (!clean)
        return std::nullopt;
    for (const auto& element : elements)
        if (reachesOutside(element.tagName) ||
            (element.hasContent && element.end == element.contentEnd))
            return std::nullopt;
    sortByStart(elements);
    return elements;
}

void shiftAll(ParsedElement& element, const Splice& edit)
{
    for (std::size_t* offset : {&element.start, &element.tagEnd, &element.contentEnd, &element.end})
        *offset = edit.shifted(*offset);
    for (auto& attribute : element.attributes) {
        attribute.valueBegin = edit.shifted(attribute.valueBegin);
        attribute.valueEnd = edit.shifted(attribute.valueEnd);
    }
}

} // namespace

const ParsedElement::Attribute* ParsedElement::attribute(std::string_view name) const
{
    for (const auto& attribute : attributes)
        if (attribute.name == name)
            return &attribute;
    return nullptr;
}

const ParsedElement* ParsedPage::elementStartingAt(std::size_t offset) const
{
    const auto found = std::lower_bound(
        elements.begin(), elements.end(), offset,
        [](const ParsedElement& element, std::size_t at) { return element.start < at; });
    return found != elements.end() && found->start == offset ? &*found : nullptr;
}

ParsedPage parsePage(std::string_view bytes)
{
    ParsedPage page;
    GumboOutput* output =
        gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size());
    ElementCollector(bytes, 0, page.elements).collect({output->root});
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    sortByStart(page.elements);
    indexTags(page);
    return page;
}

bool reparseEdit(ParsedPage& page, std::string_view bytes, const Splice& edit,
                 std::string_view removed)
{
    // A frameset further on may hinge on whether the body has content yet.
    if (page.byTag.contains("FRAMESET"))
        return false;
    auto& elements = page.elements;
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
    const auto context = isolatingContext(container.tagName);
    // Without its own end tag the container's extent depends on what follows.
    if (!context || container.end == container.contentEnd)
        return false;
    const std::size_t contentEnd = edit.shifted(container.contentEnd);
    auto content = parseContent(bytes.substr(container.tagEnd, contentEnd - container.tagEnd),
                                container.tagEnd, *context);
    // The old content has to have kept to itself too, or the rest of the page was parsed
    // with what it left behind (an open form, say).
    std::string oldContent(bytes.substr(container.tagEnd, edit.begin - container.tagEnd));
    oldContent += removed;
    oldContent += bytes.substr(edit.after(), contentEnd - edit.after());
    if (!content || !parseContent(oldContent, container.tagEnd, *context))
        return false;

    const auto first = inner.base();
    const auto last = std::lower_bound(first, elements.end(), container.contentEnd, startsBefore);
    // The container and its ancestors end later; everything after moves along, the attributes
    // that a later html or body tag lent to the page's own elements too.
    const auto shiftIfAfter = [&](std::size_t& offset) {
        if (offset >= edit.end)
            offset = edit.shifted(offset);
    };
    for (auto element = elements.begin(); element != first; ++element) {
        shiftIfAfter(element->contentEnd);
        shiftIfAfter(element->end);
        for (auto& attribute : element->attributes) {
            shiftIfAfter(attribute.valueBegin);
            shiftIfAfter(attribute.valueEnd);
        }
    }
    for (auto element = last; element != elements.end(); ++element)
        shiftAll(*element, edit);
    const auto firstIndex = static_cast<std::size_t>(first - elements.begin());
    const auto lastIndex = static_cast<std::size_t>(last - elements.begin());
    const auto at = elements.erase(first, last);
    elements.insert(at, std::make_move_iterator(content->begin()),
                    std::make_move_iterator(content->end()));
    // The body stands before the container, so its index holds.
    reindexTags(page, firstIndex, lastIndex, content->size());
    return true;
}

} // namespace tilemond::host
