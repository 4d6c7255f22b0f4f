#pragma once

#include "host/api/page_document.h"

#include <string>
#include <string_view>

namespace tilemond {

// The markup a split writes into the page, made to stand where the picture stood and to act as
// it did. The container is an inline block, as the picture was an inline box: it keeps the
// picture's place in its line of text, its alignment, float and margins; inline resets keep the
// page's rules for divisions and tables from spacing the pieces apart. Where a parser would move
// a division out of its place (within a paragraph) the container and its table are spans; in a
// page read as XML everything is well-formed lower-case markup.
class ContainerMarkup
{
public:
    // picture: the page's picture being split; null for a picture from a file.
    ContainerMarkup(const host::Element* picture, const host::Document* document);

    // The empty container, start and end tag.
    std::string container() const;
    // Its tag, for looking it up.
    std::string_view containerTag() const;
    // The first piece says what the picture said (alt, title); the others say nothing.
    std::string placeholder(bool first) const;
    std::string tableStart() const;
    std::string rowStart() const;
    std::string cellStart() const;
    std::string cellEnd() const;
    std::string rowEnd() const;
    std::string tableEnd() const;
    std::string lineBreak() const;

private:
    enum class Dialect { Html, HtmlInParagraph, Xml };

    // name='value' or name="value", as the dialect writes attributes.
    std::string attribute(std::string_view name, std::string_view value) const;
    // The tag names of the dialect: upper case in HTML, lower case in XML.
    std::string tag(std::string_view upper) const;

    Dialect m_dialect = Dialect::Html;
    std::string m_containerStyle;
    std::string m_class;
    std::string m_alt;
    std::string m_title;
};

} // namespace tilemond
