#include "page/element_collection.h"

#include "page/page_element.h"

#include <QByteArray>

namespace tilemond::host {

namespace {

std::string upperCase(std::string_view text)
{
    return QByteArray(text.data(), text.size()).toUpper().toStdString();
}

} // namespace

PageElementCollection::PageElementCollection(std::weak_ptr<PageModel> model,
                                             std::optional<std::string> tagName)
    : m_model(std::move(model)), m_tagName(std::move(tagName))
{
}

int PageElementCollection::length() const
{
    const auto model = m_model.lock();
    return model ? static_cast<int>(model->parsed().count(m_tagName)) : 0;
}

ElementPtr PageElementCollection::item(int index) const
{
    const auto model = m_model.lock();
    if (!model || index < 0)
        return nullptr;
    const PageElements& page = model->parsed();
    if (static_cast<std::size_t>(index) >= page.count(m_tagName))
        return nullptr;
    return std::make_shared<PageElement>(m_model, model->trackElement(page.at(m_tagName, index)));
}

ElementPtr PageElementCollection::item(std::string_view idOrName) const
{
    const auto model = m_model.lock();
    if (!model)
        return nullptr;
    const PageElements& page = model->parsed();
    // Among several, the element the page gained most recently; the first of equals.
    const ParsedElement* newest = nullptr;
    int newestEdit = -1;
    for (const ParsedElement* element : page.named(std::string(idOrName))) {
        if (m_tagName && element->tagName != *m_tagName)
            continue;
        const int edit = model->source().editThatInserted(page.place(*element).start);
        if (edit > newestEdit) {
            newest = element;
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
