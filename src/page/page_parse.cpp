#include "page/page_parse.h"

#include "platform/html_tree.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

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

    // Walks the trees of these nodes, the last one first, without recursion: pages nest deeper
    // than a stack allows.
    void collect(const std::vector<GumboNode*>& nodes)
    {
        // Each node with the number of written elements that hold it.
        std::vector<std::pair<GumboNode*, std::size_t>> pending;
        for (GumboNode* node : nodes)
            pending.emplace_back(node, 0);
        while (!pending.empty()) {
            const auto [node, depth] = pending.back();
            pending.pop_back();
            if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
                continue;
            const GumboElement& element = node->v.element;
            const bool written =
                !(node->parse_flags & NotWrittenFlags) && element.original_tag.length > 0;
            if (written)
                add(element, depth);
            else
                ++m_unwritten;
            for (unsigned i = element.children.length; i > 0; --i)
                pending.emplace_back(static_cast<GumboNode*>(element.children.data[i - 1]),
                                     depth + (written ? 1 : 0));
        }
    }

    // Elements the parser made up or copied.
    int unwritten() const { return m_unwritten; }

private:
    std::size_t offsetOf(const char* data) const
    {
        return m_base + static_cast<std::size_t>(data - m_bytes.data());
    }

    void add(const GumboElement& element, std::size_t depth)
    {
        ParsedElement parsed;
        parsed.tagName = upperTagName(element);
        parsed.depth = depth;
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
    // Document order is the order of the tags in the page, not the tree's order; the two
    // mostly agree, and a sort's copy of a large page's elements is spared.
    const auto byStart = [](const ParsedElement& a, const ParsedElement& b) {
        return a.start < b.start;
    };
    if (std::is_sorted(elements.begin(), elements.end(), byStart))
        return;
    std::stable_sort(elements.begin(), elements.end(), byStart);
}

bool startsBefore(const ParsedElement& element, std::size_t offset)
{
    return element.start < offset;
}

// Calls `found` with each value the element is found by in ParsedPage::byIdOrName.
template <typename Found> void forIdAndName(const ParsedElement& element, Found found)
{
    const std::string* id = nullptr;
    const std::string* name = nullptr;
    for (const auto& attribute : element.attributes) {
        const std::string_view named = attribute.name;
        if (named == "id")
            id = &attribute.value;
        else if (named == "name")
            name = &attribute.value;
    }
    if (id)
        found(*id);
    if (name && !(id && *id == *name))
        found(*name);
}

void moveElement(ParsedElement& element, std::ptrdiff_t moved)
{
    for (std::size_t* offset : {&element.start, &element.tagEnd, &element.contentEnd, &element.end})
        *offset = std::size_t(std::ptrdiff_t(*offset) + moved);
    for (auto& attribute : element.attributes) {
        attribute.valueBegin = std::size_t(std::ptrdiff_t(attribute.valueBegin) + moved);
        attribute.valueEnd = std::size_t(std::ptrdiff_t(attribute.valueEnd) + moved);
    }
}

struct Replaced
{
    std::size_t first, last; // the elements given way
    std::size_t count;       // the elements in their place
    bool tail;               // elements follow them
};

// The index after the elements [first, last) gave way to `count` new ones, indexed in `added`
// from 0; `removedKeys` are the keys the old ones stood under.
void reindex(ParsedPage::Index& index, ParsedPage::Index added,
             const std::vector<std::string>& removedKeys, const Replaced& replaced)
{
    const auto update = [&](std::vector<std::size_t>& list) {
        const auto from = std::lower_bound(list.begin(), list.end(), replaced.first);
        const auto to = std::lower_bound(from, list.end(), replaced.last);
        for (auto later = to; later != list.end(); ++later)
            *later = *later - replaced.last + replaced.first + replaced.count;
        list.erase(from, to);
    };
    // Only where elements follow do the lists of every key change.
    if (replaced.tail) {
        for (auto& [key, list] : index)
            update(list);
        std::erase_if(index, [](const auto& entry) { return entry.second.empty(); });
    } else {
        for (const std::string& key : std::set<std::string>(removedKeys.begin(), removedKeys.end()))
            if (const auto found = index.find(key); found != index.end()) {
                update(found->second);
                if (found->second.empty())
                    index.erase(found);
            }
    }
    for (auto& [key, fresh] : added) {
        std::vector<std::size_t>& list = index[key];
        const auto at = std::lower_bound(list.begin(), list.end(), replaced.first);
        for (std::size_t& i : fresh)
            i += replaced.first;
        list.insert(at, fresh.begin(), fresh.end());
    }
}

// Containers whose content parses alone as it does in the page, as long as that content
// keeps to itself.
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

ParsedPage ParsedPage::of(std::vector<ParsedElement> elements)
{
    ParsedPage page;
    page.elements = std::move(elements);
    for (std::size_t i = 0; i < page.elements.size(); ++i) {
        page.byTag[page.elements[i].tagName].push_back(i);
        forIdAndName(page.elements[i],
                     [&](const std::string& key) { page.byIdOrName[key].push_back(i); });
    }
    page.findBody();
    return page;
}

void ParsedPage::findBody()
{
    const auto bodies = byTag.find("BODY");
    body = bodies != byTag.end() ? std::optional(bodies->second.front()) : std::nullopt;
}

void ParsedPage::replace(std::size_t first, std::size_t last, ParsedPage parsed,
                         std::ptrdiff_t moved)
{
    if (first == 0 && last == elements.size()) {
        *this = std::move(parsed);
        return;
    }
    const bool tail = last < elements.size();
    for (std::size_t i = last; i < elements.size(); ++i)
        moveElement(elements[i], moved);
    std::vector<std::string> tags, names;
    for (std::size_t i = first; i < last; ++i) {
        tags.push_back(elements[i].tagName);
        forIdAndName(elements[i], [&](const std::string& key) { names.push_back(key); });
    }
    const std::size_t count = parsed.elements.size();
    reindex(byTag, std::move(parsed.byTag), tags, {first, last, count, tail});
    reindex(byIdOrName, std::move(parsed.byIdOrName), names, {first, last, count, tail});
    const auto at = elements.erase(elements.begin() + std::ptrdiff_t(first),
                                   elements.begin() + std::ptrdiff_t(last));
    elements.insert(at, std::make_move_iterator(parsed.elements.begin()),
                    std::make_move_iterator(parsed.elements.end()));
    findBody();
}

ParsedPage::TopLevelSpan ParsedPage::topLevelAround(std::size_t begin, std::size_t end,
                                                    std::size_t contentBegin,
                                                    std::size_t contentEnd) const
{
    const auto startingFrom = [&](std::size_t offset) {
        return std::size_t(
            std::lower_bound(elements.begin(), elements.end(), offset, startsBefore) -
            elements.begin());
    };
    // The top-level element that holds the elements before `index`, or the last of them.
    const auto topLevelBefore = [&](std::size_t index) -> const ParsedElement* {
        if (index == 0)
            return nullptr;
        std::size_t top = index - 1;
        while (top > 0 && elements[top].depth > 0)
            --top;
        return &elements[top];
    };
    TopLevelSpan span{startingFrom(begin), startingFrom(end), contentBegin, contentEnd};
    if (const ParsedElement* before = topLevelBefore(span.first)) {
        const bool holdsBegin = before->end > begin;
        span.begin = holdsBegin ? before->start : before->end;
        if (holdsBegin)
            span.first = std::size_t(before - elements.data());
    }
    if (const ParsedElement* before = topLevelBefore(span.last); before && before->end > end) {
        span.end = before->end;
        span.last = startingFrom(before->end);
    } else if (span.last < elements.size()) {
        span.end = elements[span.last].start;
    }
    return span;
}

ParsedPage parsePage(std::string_view bytes)
{
    std::vector<ParsedElement> elements;
    const HtmlTree tree(bytes);
    ElementCollector(bytes, 0, elements).collect({tree.root()});
    sortByStart(elements);
    return ParsedPage::of(std::move(elements));
}

bool parsesAlone(std::string_view containerTag)
{
    return isolatingContext(containerTag).has_value();
}

std::optional<ParsedPage> parseContent(std::string_view containerTag, std::string_view content,
                                       std::size_t at)
{
    const auto context = isolatingContext(containerTag);
    if (!context)
        return std::nullopt;
    const HtmlTree tree(content, *context);
    std::vector<ParsedElement> elements;
    ElementCollector collector(content, at, elements);
    const GumboVector& top = tree.root()->v.element.children;
    std::vector<GumboNode*> pending;
    for (unsigned i = top.length; i > 0; --i)
        pending.push_back(static_cast<GumboNode*>(top.data[i - 1]));
    collector.collect(std::move(pending));
    const bool clean = !tree.hasErrors() && collector.unwritten() == 0;
    // No parse error, nothing the parser made up, every element closed by its own end tag and
    // none that looks outside.
    if (!clean)
        return std::nullopt;
    for (const auto& element : elements)
        if (reachesOutside(element.tagName) ||
            (element.hasContent && element.end == element.contentEnd))
            return std::nullopt;
    sortByStart(elements);
    return ParsedPage::of(std::move(elements));
}

} // namespace tilemond::host
