#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The page being edited, as the add-in sees it. All text is the page's own
// bytes (UTF-8 as far as the page is). Nothing here throws: a call that cannot
// be carried out answers empty (nullptr, nullopt or false) and changes nothing.
namespace tilemond::host {

class Element;
class TextRange;
class ElementCollection;
using ElementPtr = std::shared_ptr<Element>;
using TextRangePtr = std::shared_ptr<TextRange>;
using ElementCollectionPtr = std::shared_ptr<ElementCollection>;

// An element of the page. The handle follows the element through edits
// elsewhere in the page; once an edit removes the element, the handle is dead.
class Element
{
public:
    virtual ~Element() = default;
    virtual bool isAlive() const = 0;
    // Tag name in upper case ("IMG"); empty when dead.
    virtual std::string tagName() const = 0;
    // Attribute value as written in the page; nullopt when absent.
    virtual std::optional<std::string> getAttribute(std::string_view name) const = 0;
    // where: "BeforeBegin", "AfterBegin", "BeforeEnd" or "AfterEnd" (any letter case).
    virtual bool insertAdjacentHTML(std::string_view where, std::string_view markup) = 0;
    virtual std::optional<std::string> innerHTML() const = 0;
    virtual bool setInnerHTML(std::string_view markup) = 0;
    // A range over the element's content; only the body offers one.
    virtual TextRangePtr createTextRange() = 0;
    // The element whose content holds this one, as the page parses; nullptr at the top.
    virtual ElementPtr parentElement() const = 0;
    // The value of a style property as the page gives it to the element once its style sheets
    // apply ("auto", "100%", "12px", "block"); nullopt where the host does not know it.
    virtual std::optional<std::string> currentStyle(std::string_view property) const = 0;
};

// A span of the page. Its HTML text is the page's source in that span.
class TextRange
{
public:
    virtual ~TextRange() = default;
    virtual std::optional<std::string> htmlText() const = 0;
    // Replaces the span by the markup; the range then stands just after it.
    virtual bool pasteHTML(std::string_view markup) = 0;
    // Covers the element's content, or the whole tag of an element without content.
    virtual bool moveToElementText(const Element& element) = 0;
    // Makes this span the page's selection.
    virtual bool select() = 0;
    // how: "StartToStart", "StartToEnd", "EndToStart" or "EndToEnd".
    virtual bool setEndPoint(std::string_view how, const TextRange& other) = 0;
    // -1, 0 or 1 as this range's end point (by how, as above) stands before, at or after the
    // other's.
    virtual std::optional<int> compareEndPoints(std::string_view how,
                                                const TextRange& other) const = 0;
};

class Selection
{
public:
    virtual ~Selection() = default;
    virtual TextRangePtr createRange() = 0;
};

// A live list of elements in document order.
class ElementCollection
{
public:
    virtual ~ElementCollection() = default;
    virtual int length() const = 0;
    // Zero-based; nullptr outside the list.
    virtual ElementPtr item(int index) const = 0;
    // The element whose id (or name) is idOrName; among several, the one the
    // page gained most recently. nullptr when there is none.
    virtual ElementPtr item(std::string_view idOrName) const = 0;
    // The elements of one tag name (any letter case).
    virtual ElementCollectionPtr tags(std::string_view tagName) const = 0;
};

class Document
{
public:
    virtual ~Document() = default;
    virtual std::shared_ptr<Selection> selection() = 0;
    virtual ElementPtr body() = 0;
    virtual ElementCollectionPtr images() = 0;
    virtual ElementCollectionPtr all() = 0;
    // "application/xhtml+xml" for a page read as XML, else "text/html".
    virtual std::string contentType() const = 0;
    // The edits between these calls are undone and redone as one step (the calls nest); a host
    // without undo ignores them.
    virtual void openUndoUnit() {}
    virtual void closeUndoUnit() {}
};
using DocumentPtr = std::shared_ptr<Document>;

} // namespace tilemond::host
