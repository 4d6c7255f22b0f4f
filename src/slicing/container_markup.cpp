#include "slicing/container_markup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace tilemond {
namespace {

// An inline block sits on the baseline by its bottom edge (it hides its overflow), as a picture
// does; inside, rows of pieces without line height or wrapping; nothing of the page's rules for
// divisions or spans around them.
constexpr std::string_view ContainerReset =
    "display:inline-block;overflow:hidden;vertical-align:baseline;line-height:0;"
    "white-space:nowrap;text-indent:0;margin:0;padding:0;border:0;background:none;width:auto;"
    "height:auto;max-width:none";
// The page's rules for tables, rows and cells would set the pieces apart (padding, borders,
// spacing, margins) or show through their see-through pixels (backgrounds).
constexpr std::string_view TableReset =
    "display:table;border:0;border-collapse:separate;border-spacing:0;margin:0;padding:0;"
    "width:auto;height:auto;background:none";
constexpr std::string_view RowReset = "display:table-row;background:none";
constexpr std::string_view CellReset =
    "display:table-cell;padding:0;border:0;background:none;line-height:0";

std::string lowered(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string_view trimmed(std::string_view text)
{
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// A length attribute of a picture (hspace="5", border="2", vspace="10%") as CSS; empty when the
// value is none.
std::string length(std::string_view value)
{
    value = trimmed(value);
    const std::size_t digits =
        std::find_if_not(value.begin(), value.end(),
                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) -
        value.begin();
    if (digits == 0 || digits > 6)
        return {};
    const bool percent = digits < value.size() && value[digits] == '%';
    return std::string(value.substr(0, digits)) + (percent ? "%" : "px");
}

// A picture's align attribute as browsers apply it to a picture.
std::string alignment(std::string_view value)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 11> styles = {{
        {"left", "float:left"},
        {"right", "float:right"},
        {"top", "vertical-align:top"},
        {"texttop", "vertical-align:text-top"},
        {"middle", "vertical-align:-webkit-baseline-middle"},
        {"absmiddle", "vertical-align:middle"},
        {"abscenter", "vertical-align:middle"},
        {"center", "vertical-align:middle"},
        {"bottom", "vertical-align:baseline"},
        {"baseline", "vertical-align:baseline"},
        {"absbottom", "vertical-align:bottom"},
    }};
    const std::string wanted = lowered(trimmed(value));
    for (const auto& [name, style] : styles)
        if (name == wanted)
            return std::string(style);
    return {};
}

// The picture's own style, but for the inline display every picture has: the container is an
// inline block in its place.
std::string carriedStyle(std::string_view style)
{
    std::string carried;
    while (!style.empty()) {
        const std::size_t end = std::min(style.find(';'), style.size());
        const std::string_view declaration = style.substr(0, end);
        style.remove_prefix(std::min(end + 1, style.size()));
        const std::size_t colon = declaration.find(':');
        if (trimmed(declaration).empty() ||
            (colon != std::string_view::npos &&
             lowered(trimmed(declaration.substr(0, colon))) == "display" &&
             lowered(trimmed(declaration.substr(colon + 1))) == "inline"))
            continue;
        carried += ";";
        carried += declaration;
    }
    return carried;
}

// What places the picture among its neighbours by its attributes, as the container's style: its
// align, border, hspace and vspace.
std::string attributePlacing(const host::Element& picture)
{
    const auto value = [&](std::string_view name) {
        return picture.getAttribute(name).value_or(std::string());
    };
    std::string style;
    if (const std::string align = alignment(value("align")); !align.empty())
        style += ";" + align;
    if (const std::string border = length(value("border")); !border.empty())
        style += ";border:" + border + " solid";
    if (const std::string hspace = length(value("hspace")); !hspace.empty())
        style += ";margin-left:" + hspace + ";margin-right:" + hspace;
    if (const std::string vspace = length(value("vspace")); !vspace.empty())
        style += ";margin-top:" + vspace + ";margin-bottom:" + vspace;
    return style;
}

// What the page's style sheets do to place the picture, as the host knows it (nothing where it
// does not), as the container's style: its float or block display, margins and vertical
// alignment. A picture the page lets shrink with what holds it (a max-width or a width as a
// share) gets a container that shrinks alike, as wide as the picture where the picture is.
std::string sheetPlacing(const host::Element& picture, int width, bool& shrinks)
{
    const auto style = [&](std::string_view property) {
        return lowered(trimmed(picture.currentStyle(property).value_or(std::string())));
    };
    std::string placing;
    const std::string floating = style("float");
    const bool floats = !floating.empty() && floating != "none";
    if (floats)
        placing += ";float:" + floating;
    const bool block = !floats && style("display") == "block";
    if (block)
        placing += ";display:block";
    for (const std::string_view side :
         {"margin-top", "margin-right", "margin-bottom", "margin-left"})
        if (const std::string margin = style(side); !margin.empty() && margin != "0px")
            placing += ";" + std::string(side) + ":" + margin;
    if (const std::string align = style("vertical-align"); !align.empty() && align != "baseline")
        placing += ";vertical-align:" + align;
    // A share of what holds it sizes the container as it sized the picture; a share as the most
    // it may take, the container of the picture's width at most; a block is as wide as the picture,
    // so that its margins place it as they placed the picture. A share leaves the container's
    // own width out where a table cell or a float works out its width, as a picture's is.
    const std::string share = style("width");
    const std::string most = style("max-width");
    shrinks = share.ends_with('%') || most.ends_with('%');
    if (share.ends_with('%'))
        placing += ";width:" + share + (most.ends_with('%') ? ";max-width:" + most : "");
    else if (most.ends_with('%'))
        placing += ";width:" + most + ";max-width:" + std::to_string(width) + "px";
    else if (block)
        placing += ";width:" + std::to_string(width) + "px";
    return placing;
}

// A share of the whole as a CSS percentage, exact enough that the share of the picture's own
// width comes to whole pixels.
std::string percentage(int part, int whole)
{
    char written[32];
    std::snprintf(written, sizeof written, "%.5f", 100.0 * part / std::max(whole, 1));
    std::string share(written);
    share.erase(share.find_last_not_of('0') + 1);
    if (share.back() == '.')
        share.pop_back();
    return share + "%";
}

// Whether a division written at the picture's place would close a paragraph around it, as the
// HTML parser closes an open paragraph in its button scope.
bool inParagraph(const host::Element& picture)
{
    static constexpr std::array<std::string_view, 10> scopeEdges = {
        "BUTTON", "APPLET", "CAPTION", "HTML",   "TABLE",
        "TD",     "TH",     "MARQUEE", "OBJECT", "TEMPLATE"};
    for (host::ElementPtr up = picture.parentElement(); up; up = up->parentElement()) {
        const std::string tag = up->tagName();
        if (tag == "P")
            return true;
        if (std::find(scopeEdges.begin(), scopeEdges.end(), tag) != scopeEdges.end())
            return false;
    }
    return false;
}

} // namespace

ContainerMarkup::ContainerMarkup(const host::Element* picture, const host::Document* document,
                                 int pictureWidth)
    : m_containerStyle(ContainerReset), m_width(pictureWidth)
{
    if (document && document->contentType() == "application/xhtml+xml")
        m_dialect = Dialect::Xml;
    else if (picture && inParagraph(*picture))
        m_dialect = Dialect::HtmlInParagraph;
    if (!picture)
        return;
    // The picture's own style outweighs what its attributes and the style sheets say.
    m_containerStyle += attributePlacing(*picture) + sheetPlacing(*picture, m_width, m_shrinks) +
                        carriedStyle(picture->getAttribute("style").value_or(std::string()));
    m_class = picture->getAttribute("class").value_or(std::string());
    m_alt = picture->getAttribute("alt").value_or(std::string());
    m_title = picture->getAttribute("title").value_or(std::string());
}

std::string ContainerMarkup::attribute(std::string_view name, std::string_view value) const
{
    const char quote = m_dialect == Dialect::Xml ? '"' : '\'';
    std::string written = (m_dialect == Dialect::Xml ? lowered(name) : std::string(name)) + "=";
    written += quote;
    for (const char c : value)
        written += c == quote ? (quote == '"' ? std::string("&quot;") : std::string("&#39;"))
                   : c == '<' ? std::string("&lt;")
                              : std::string(1, c);
    return written + quote;
}

std::string ContainerMarkup::tag(std::string_view upper) const
{
    if (m_dialect == Dialect::Xml)
        return lowered(upper);
    if (m_dialect == Dialect::HtmlInParagraph &&
        (upper == "TABLE" || upper == "TR" || upper == "TD"))
        return "SPAN";
    return std::string(upper);
}

std::string_view ContainerMarkup::containerTag() const
{
    return m_dialect == Dialect::HtmlInParagraph ? "SPAN" : "DIV";
}

std::string ContainerMarkup::container() const
{
    const std::string name = m_dialect == Dialect::Xml ? "div" : std::string(containerTag());
    std::string markup = "<" + name + " " + attribute("ID", "Tilemond1");
    if (m_dialect != Dialect::Xml)
        markup += " " + attribute("NAME", "Tilemond1");
    markup += " " + attribute("STYLE", m_containerStyle);
    if (!m_class.empty())
        markup += " " + attribute("CLASS", m_class);
    return markup + "></" + name + ">";
}

std::string ContainerMarkup::placeholder(bool first) const
{
    std::string markup = "<" + tag("IMG") + " " + attribute("ID", "QZInsertPic");
    if (m_dialect != Dialect::Xml)
        markup += " " + attribute("NAME", "QZInsertPic");
    if (first && !m_alt.empty())
        markup += " " + attribute("ALT", m_alt);
    if (first && !m_title.empty())
        markup += " " + attribute("TITLE", m_title);
    return markup + (m_dialect == Dialect::Xml ? "/>" : ">");
}

std::string ContainerMarkup::pieces(std::string markup, const std::vector<int>& widths,
                                    bool inCells) const
{
    if (!m_shrinks)
        return markup;
    const std::string lower = lowered(markup); // found in
    std::string sized;       // the markup with the pieces' sizing written in, in one pass
    std::size_t written = 0; // of the markup, into sized
    std::size_t at = 0;
    for (const int width : widths) {
        at = lower.find("<img", at);
        if (at == std::string::npos)
            break;
        const std::string sizing =
            (inCells ? std::string("width:100%") : "width:" + percentage(width, m_width)) +
            ";height:auto;";
        const std::size_t end = std::min(lower.find('>', at), lower.size());
        const std::size_t style = lower.find(" style=", at);
        const bool quoted = style != std::string::npos && style + 8 < end &&
                            (lower[style + 7] == '"' || lower[style + 7] == '\'');
        const std::size_t into = quoted ? style + 8 : at + 4;
        sized.append(markup, written, into - written);
        sized += quoted ? sizing : " " + attribute("style", sizing);
        written = into;
        at = end;
    }
    return sized.append(markup, written);
}

std::string ContainerMarkup::tableStart() const
{
    // The table keeps its founding attributes for pages read without style.
    const std::string spacing = m_dialect == Dialect::HtmlInParagraph
                                    ? std::string()
                                    : " " + attribute("cellspacing", "0") + " " +
                                          attribute("cellpadding", "0") + " " +
                                          attribute("border", "0");
    // A table that shrinks with the container shares its width out among its columns.
    const std::string style = std::string(TableReset) + (m_shrinks ? ";width:100%" : "");
    return "<" + tag("TABLE") + spacing + " " + attribute("STYLE", style) + ">";
}

std::string ContainerMarkup::rowStart() const
{
    return "<" + tag("TR") + " " + attribute("STYLE", RowReset) + ">";
}

std::string ContainerMarkup::cellStart(int width) const
{
    const std::string style =
        std::string(CellReset) + (m_shrinks ? ";width:" + percentage(width, m_width) : "");
    return "<" + tag("TD") + " " + attribute("STYLE", style) + ">";
}

std::string ContainerMarkup::cellEnd() const
{
    return "</" + tag("TD") + ">";
}

std::string ContainerMarkup::rowEnd() const
{
    return "</" + tag("TR") + ">";
}

std::string ContainerMarkup::tableEnd() const
{
    return "</" + tag("TABLE") + ">";
}

std::string ContainerMarkup::lineBreak() const
{
    return m_dialect == Dialect::Xml ? "<br/>" : "<BR>";
}

} // namespace tilemond
