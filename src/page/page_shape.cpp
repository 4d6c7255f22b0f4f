#include "page/page_shape.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

namespace tilemond::host {
namespace {

bool isVoid(const std::string& name)
{
    static constexpr std::array<std::string_view, 19> names = {
        "area", "base",  "basefont", "bgsound", "br",   "col",   "embed",  "frame", "hr", "image",
        "img",  "input", "keygen",   "link",    "meta", "param", "source", "track", "wbr"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements whose end tag may be left out: the next of their kind closes them.
bool endTagOptional(const std::string& name)
{
    static constexpr std::array<std::string_view, 21> names = {
        "p",  "li", "dt",    "dd",    "option", "optgroup", "tr",
        "td", "th", "thead", "tbody", "tfoot",  "caption",  "colgroup",
        "rb", "rt", "rtc",   "rp",    "html",   "head",     "body"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Text markup that is neither a formatting element (which the parser opens again) nor one that
// stops the closing of list items, paragraphs and cells.
bool isPlainText(const std::string& name)
{
    static constexpr std::array<std::string_view, 16> names = {
        "span", "abbr", "cite", "dfn",  "kbd",  "label", "q",   "samp",
        "sub",  "sup",  "var",  "time", "mark", "bdi",   "bdo", "data"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements whose start closes the last of their kind along with plain text markup left open in it.
bool closesPlainText(const std::string& name)
{
    return name == "li" || name == "dd" || name == "dt" || name == "p" || name == "td" ||
           name == "th" || name == "tr";
}

// Elements past which the end tags of cells, rows and list items close nothing.
bool isScopeEdge(const std::string& name)
{
    return name == "table" || name == "template" || name == "applet" || name == "object" ||
           name == "marquee" || name == "svg" || name == "math" || name == "select";
}

// Elements whose content is text up to their own end tag.
bool holdsText(const std::string& name)
{
    return name == "script" || name == "style" || name == "textarea" || name == "title" ||
           name == "xmp" || name == "plaintext" || name == "noembed" || name == "iframe" ||
           name == "noframes";
}

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':' || c == '_';
}

class Scanner
{
public:
    explicit Scanner(std::string_view html) : m_html(html) {}

    Outcome<void> check()
    {
        while ((m_at = m_html.find('<', m_at)) != std::string_view::npos) {
            ++m_at;
            if (m_html.substr(m_at).starts_with("!--")) {
                skipPast("-->");
            } else if (m_at < m_html.size() && m_html[m_at] == '/') {
                ++m_at;
                close(readName());
                skipTag();
            } else if (m_at < m_html.size() &&
                       std::isalpha(static_cast<unsigned char>(m_html[m_at]))) {
                if (++m_elements > kMaxElements)
                    return Unexpected(
                        QStringLiteral("it holds more than %1 elements").arg(kMaxElements));
                const std::string name = readName();
                if (skipTag() > kMaxAttributes)
                    return Unexpected(
                        QStringLiteral("a tag has more than %1 attributes").arg(kMaxAttributes));
                if (holdsText(name))
                    skipPast("</" + name);
                else if (!isVoid(name))
                    open(name);
                if (m_depth > kMaxNestingDepth)
                    return Unexpected(QStringLiteral("its elements nest more than %1 deep")
                                          .arg(kMaxNestingDepth));
            }
        }
        return {};
    }

private:
    std::string readName()
    {
        std::string name;
        for (; m_at < m_html.size() && isNameChar(m_html[m_at]); ++m_at)
            name += char(std::tolower(static_cast<unsigned char>(m_html[m_at])));
        return name;
    }

    // To the tag's closing '>', past attribute values in quotes; answers how many attributes
    // the tag has (at most: a name without value may count twice).
    std::size_t skipTag()
    {
        std::size_t attributes = 0;
        char quote = 0;
        bool afterEquals = false;
        bool afterSpace = false;
        for (; m_at < m_html.size(); ++m_at) {
            const char c = m_html[m_at];
            const bool space = std::isspace(static_cast<unsigned char>(c));
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (afterEquals && (c == '"' || c == '\'')) {
                quote = c;
            } else if (c == '>') {
                ++m_at;
                break;
            } else if (afterSpace && !space && !afterEquals && c != '=' && c != '/') {
                ++attributes;
            }
            afterSpace = space;
            if (!space)
                afterEquals = !quote && c == '=';
        }
        return attributes;
    }

    // Past the next occurrence of `end`, in any letter case.
    void skipPast(std::string_view end)
    {
        for (; m_at + end.size() <= m_html.size(); ++m_at) {
            if (std::equal(end.begin(), end.end(), m_html.begin() + std::ptrdiff_t(m_at),
                           [](char a, char b) {
                               return a == std::tolower(static_cast<unsigned char>(b));
                           })) {
                m_at += end.size();
                return;
            }
        }
        m_at = m_html.size();
    }

    struct Open
    {
        std::string name;
        bool counts; // false: its end tag may be left out
    };

    // An element whose end tag may be left out keeps its place without adding to the depth, so
    // that its end tag closes what was left open inside it; the next of its kind closes it when
    // only such elements, or (for items, paragraphs and cells) plain text markup, were opened
    // since.
    void open(const std::string& name)
    {
        const bool counts = !endTagOptional(name);
        if (!counts) {
            const auto last =
                m_open.rbegin() + std::ptrdiff_t(std::min<std::size_t>(m_open.size(), 64));
            for (auto it = m_open.rbegin();
                 it != last && (!it->counts || (closesPlainText(name) && isPlainText(it->name)));
                 ++it) {
                if (it->name == name) {
                    popTo(name);
                    break;
                }
            }
        }
        m_open.push_back({name, counts});
        m_depth += counts;
    }

    // The parser may keep elements open where an end tag does not fit (misnested, stray, or
    // beyond a table), so an end tag closes only what it surely closes: the last element that
    // counts when it has that name, and an element whose end tag may be left out together with
    // what was opened in it short of a table.
    void close(const std::string& name)
    {
        if (name == "html" || name == "head" || name == "body")
            return;
        const auto top = std::find_if(m_open.rbegin(), m_open.rend(),
                                      [](const Open& open) { return open.counts; });
        if (top != m_open.rend() && top->name == name) {
            popTo(name);
            return;
        }
        if (!endTagOptional(name))
            return;
        // Looking no further than a cell's usual content keeps stray end tags cheap.
        const auto last =
            m_open.rbegin() + std::ptrdiff_t(std::min<std::size_t>(m_open.size(), 64));
        for (auto it = m_open.rbegin(); it != last && !isScopeEdge(it->name); ++it) {
            if (it->name == name) {
                popTo(name);
                return;
            }
        }
    }

    void popTo(const std::string& name)
    {
        for (bool closed = false; !closed;) {
            const Open top = std::move(m_open.back());
            m_open.pop_back();
            m_depth -= top.counts;
            closed = top.name == name;
        }
    }

    std::string_view m_html;
    std::size_t m_at = 0;
    std::vector<Open> m_open;
    std::size_t m_depth = 0;
    std::size_t m_elements = 0;
};

} // namespace

Outcome<void> checkParserBounds(std::string_view html)
{
    return Scanner(html).check();
}

} // namespace tilemond::host
