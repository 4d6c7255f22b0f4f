#pragma once

#include "host_api/page_document.h"

#include <string>
#include <string_view>
#include <vector>

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
    // picture: the page's picture being split; null for a picture from a file. pictureWidth:
    // the width it was cut at.
    ContainerMarkup(const host::Element* picture, const host::Document* document, int pictureWidth);

    // The empty container, start and end tag.
    std::string container() const;
    // Its tag, for looking it up.
    std::string_view containerTag() const;
    // The first piece says what the picture said (alt, title); the others say nothing.
    std::string placeholder(bool first) const;
    // The pieces' markup as the host pasted it (their img tags in order, of these widths), made
    // to shrink with the container where the page let the picture shrink; inCells: one piece
    // per table cell, else rows of pieces side by side.
    std::string pieces(std::string markup, const std::vector<int>& widths, bool inCells) const;
    std::string tableStart() const;
    std::string rowStart() const;
    // A cell of a column this wide.
    std::string cellStart(int width) const;
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
    int m_width = 0;
    bool m_shrinks = false; // the page lets the picture shrink with what holds it
};

} // namespace tilemond
