#include "page/page_document.h"

#include "page/element_collection.h"
#include "page/page_element.h"
#include "page/text_range.h"

namespace tilemond::host {

TextRangePtr PageSelection::createRange()
{
    const auto model = m_model.lock();
    if (!model)
        return nullptr;
    return std::make_shared<PageTextRange>(m_model, model->selection().begin,
                                           model->selection().end);
}

std::shared_ptr<Selection> PageDocument::selection()
{
    return m_model.expired() ? nullptr : std::make_shared<PageSelection>(m_model);
}

ElementPtr PageDocument::body()
{
    const auto model = m_model.lock();
    return model ? std::make_shared<PageElement>(m_model, model->bodyHandle()) : nullptr;
}

ElementCollectionPtr PageDocument::images()
{
    return m_model.expired() ? nullptr : std::make_shared<PageElementCollection>(m_model, "IMG");
}

ElementCollectionPtr PageDocument::all()
{
    return m_model.expired() ? nullptr
                             : std::make_shared<PageElementCollection>(m_model, std::nullopt);
}

std::string PageDocument::contentType() const
{
    const auto model = m_model.lock();
    return model && model->isXml() ? "application/xhtml+xml" : "text/html";
}

void PageDocument::openUndoUnit()
{
    if (const auto model = m_model.lock())
        model->source().history().openStep();
}

void PageDocument::closeUndoUnit()
{
    if (const auto model = m_model.lock())
        model->source().history().closeStep();
}

} // namespace tilemond::host
