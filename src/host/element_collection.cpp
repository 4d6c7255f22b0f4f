#include "host/element_collection.h"

#include "host/page_element.h"

#include <QByteArray>

namespace tilemond::host {

namespace {

std::string upperCase(std::string_view text)
{
    return QByteArray(text.data(), text.size()).toUpper().toStdString();
}

bool hasIdOrName(const ParsedElement& element, std::string_view idOrName)
{
    for (const char* name : {"id", "name"})
        if (const auto* attribute = element.attribute(name);
            attribute && attribute->value == idOrName)
            return true;
    return false;
}

} // namespace

PageElementCollection::PageElementCollection(std::weak_ptr<PageModel> model,
                                             std::optional<std::string> tagName)
    : m_model(std::move(model)), m_tagName(std::move(tagName))
{
}

const std::vector<std::size_t>* PageElementCollection::tagged(const ParsedPage& page) const
{
    static const std::vector<std::size_t> none;
    if (!m_tagName)
        return nullptr;
    const auto found = page.byTag.find(*m_tagName);
    return found != page.byTag.end() ? &found->second : &none;
}

std::size_t PageElementCollection::count(const ParsedPage& page) const
{
    const auto* indexes = tagged(page);
    return indexes ? indexes->size() : page.elements.size();
}

std::size_t PageElementCollection::elementIndex(const ParsedPage& page, std::size_t position) const
{
    const auto* indexes = tagged(page);
    return indexes ? (*indexes)[position] : position;
}

int PageElementCollection::length() const
{
    const auto model = m_model.lock();
    return model ? static_cast<int>(count(model->parsed())) : 0;
}

ElementPtr PageElementCollection::item(int index) const
{
    const auto model = m_model.lock();
    if (!model || index < 0)
        return nullptr;
    const ParsedPage& page = model->parsed();
    if (static_cast<std::size_t>(index) >= count(page))
        return nullptr;
    const ParsedElement& element = page.elements[elementIndex(page, index)];
    return std::make_shared<PageElement>(m_model, model->trackElement(element));
}

ElementPtr PageElementCollection::item(std::string_view idOrName) const
{
    const auto model = m_model.lock();
    if (!model)
        return nullptr;
    const ParsedPage& page = model->parsed();
    // Among several, the element the page gained most recently; the first of equals.
    const ParsedElement* newest = nullptr;
    int newestEdit = -1;
    for (std::size_t position = 0, total = count(page); position < total; ++position) {
        const ParsedElement& element = page.elements[elementIndex(page, position)];
        if (!hasIdOrName(element, idOrName))
            continue;
        const int edit = model->source().editThatInserted(element.start);
        if (edit > newestEdit) {
            newest = &element;
            newestEdit = edit;
        }
    }
    return newest ? std::make_shared<PageElement>(m_model, model->trackElement(*newest)) : nullptr;
}

ElementCollectionPtr PageElementCollection::tags(std::string_view tagName) const
{
    std::string wanted = upperCase(tagName);
    if (m_tagName && wanted != *m_tagName)
        wanted.clear(); // no element has two tag names
    return std::make_shared<PageElementCollection>(m_model, std::move(wanted));
}

} // namespace tilemond::host
