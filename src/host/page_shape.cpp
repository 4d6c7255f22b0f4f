#include "host/page_shape.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace tilemond::host {
namespace {

// Void elements, and those whose end tag may be left out (the next of their kind closes them).
bool closesItself(const std::string& name)
{
    static constexpr std::array<std::string_view, 40> names = {
        "area",     "base",  "basefont", "bgsound", "br",     "col",   "embed", "frame",
        "hr",       "image", "img",      "input",   "keygen", "link",  "meta",  "param",
        "source",   "track", "wbr",      "p",       "li",     "dt",    "dd",    "option",
        "optgroup", "tr",    "td",       "th",      "thead",  "tbody", "tfoot", "caption",
        "colgroup", "rb",    "rt",       "rtc",     "rp",     "html",  "head",  "body"};
    return std::find(names.begin(), names.end(), name) != names.end();
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

    std::string problem()
    {
        std::size_t depth = 0;
        while ((m_at = m_html.find('<', m_at)) != std::string_view::npos) {
            ++m_at;
            if (m_html.substr(m_at).starts_with("!--")) {
                skipPast("-->");
            } else if (m_at < m_html.size() && m_html[m_at] == '/') {
                ++m_at;
                readName();
                depth -= depth > 0;
                skipTag();
            } else if (m_at < m_html.size() &&
                       std::isalpha(static_cast<unsigned char>(m_html[m_at]))) {
                const std::string name = readName();
                if (skipTag() > kMaxAttributes)
                    return "a tag has more than " + std::to_string(kMaxAttributes) + " attributes";
                if (holdsText(name))
                    skipPast("</" + name);
                else if (!closesItself(name) && ++depth > kMaxNestingDepth)
                    return "its elements nest more than " + std::to_string(kMaxNestingDepth) +
                           " deep";
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

    std::string_view m_html;
    std::size_t m_at = 0;
};

} // namespace

std::string beyondParserBounds(std::string_view html)
{
    return Scanner(html).problem();
}

} // namespace tilemond::host
