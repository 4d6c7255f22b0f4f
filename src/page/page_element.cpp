#include "page/page_element.h"

#include "page/text_range.h"

#include <QByteArray>

namespace tilemond::host {

PageElement::PageElement(std::weak_ptr<PageModel> model, TrackedSpanPtr startTag)
    : m_model(std::move(model)), m_startTag(std::move(startTag))
{
}

std::optional<ElementSpans> PageElement::spans() const
{
    const auto model = m_model.lock();
    return model ? model->resolve(m_startTag) : std::nullopt;
}

std::optional<std::pair<std::size_t, std::size_t>> PageElement::textSpan() const
{
    const auto element = spans();
    if (!element)
        return std::nullopt;
    if (!element->hasContent)
        return std::pair(element->start, element->tagEnd);
    return std::pair(element->tagEnd, element->contentEnd);
}

bool PageElement::belongsTo(const std::shared_ptr<PageModel>& model) const
{
    return model && m_model.lock() == model;
}

bool PageElement::isAlive() const
{
    return spans().has_value();
}

std::string PageElement::tagName() const
{
    const auto element = spans();
    return element ? element->tagName : std::string();
}

std::optional<std::string> PageElement::getAttribute(std::string_view name) const
{
    const auto model = m_model.lock();
    const auto element = spans();
    if (!element || !element->parsed)
        return std::nullopt;
    const auto* attribute =
        element->parsed->attribute(QByteArray(name.data(), name.size()).toLower().toStdString());
    if (!attribute)
        return std::nullopt;
    const auto [begin, end] = model->parsed().valueSpan(*element->parsed, *attribute);
    return std::string(model->source().slice(begin, end));
}

bool PageElement::insertAdjacentHTML(std::string_view where, std::string_view markup)
{
    const auto model = m_model.lock();
    const auto element = spans();
    if (!element)
        return false;
    const QByteArray position = QByteArray(where.data(), where.size()).toLower();
    std::optional<std::size_t> at;
    if (position == "beforebegin")
        at = element->start;
    else if (position == "afterend")
        at = element->end;
    else if (element->hasContent && position == "afterbegin")
        at = element->tagEnd;
    else if (element->hasContent && position == "beforeend")
        at = element->contentEnd;
    return at && model->source().splice(*at, *at, markup);
}

std::optional<std::string> PageElement::innerHTML() const
{
    const auto model = m_model.lock();
    const auto element = spans();
    if (!element)
        return std::nullopt;
    return std::string(model->source().slice(element->tagEnd, element->contentEnd));
}

bool PageElement::setInnerHTML(std::string_view markup)
{
    const auto model = m_model.lock();
    const auto element = spans();
    if (!element || !element->hasContent)
        return false;
    return model->source().splice(element->tagEnd, element->contentEnd, markup);
}

TextRangePtr PageElement::createTextRange()
{
    const auto element = spans();
    if (!element || element->tagName != "BODY")
        return nullptr;
    return std::make_shared<PageTextRange>(m_model, element->tagEnd, element->contentEnd);
}

ElementPtr PageElement::parentElement() const
{
    const auto model = m_model.lock();
    const auto element = spans();
    if (!element || !element->parsed)
        return nullptr;
    const PageElements& page = model->parsed();
    // Document order is the order of the start tags: the element's place among them, then back
    // to the nearest element before it whose content holds it.
    std::size_t low = 0, high = page.count();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (page.place(page.at(std::nullopt, middle)).start < element->start)
            low = middle + 1;
        else
            high = middle;
    }
    while (low-- > 0) {
        const ParsedElement& before = page.at(std::nullopt, low);
        const Placement placed = page.place(before);
        if (before.hasContent && placed.tagEnd <= element->start &&
            element->end <= placed.contentEnd)
            return std::make_shared<PageElement>(m_model, model->trackElement(before));
    }
    return nullptr;
}

std::optional<std::string> PageElement::currentStyle(std::string_view property) const
{
    const auto model = m_model.lock();
    const auto element = spans();
    if (!element || !element->parsed || element->tagName != "IMG")
        return std::nullopt;
    const PageElements& page = model->parsed();
    const std::optional<std::string> images = "IMG";
    for (std::size_t i = 0, count = page.count(images); i < count; ++i) {
        if (&page.at(images, i) != element->parsed)
            continue;
        const auto laidOut = model->laidOutPicture(i);
        if (!laidOut)
            return std::nullopt;
        const auto value = laidOut->style.find(std::string(property));
        return value == laidOut->style.end() ? std::nullopt : std::optional(value->second);
    }
    return std::nullopt;
}

} // namespace tilemond::host
