#pragma once

#include "host_api/page_document.h"
#include "page/page_model.h"

namespace tilemond::host {

class PageSelection final : public Selection
{
public:
    explicit PageSelection(std::weak_ptr<PageModel> model) : m_model(std::move(model)) {}
    TextRangePtr createRange() override;

private:
    std::weak_ptr<PageModel> m_model;
};

// The open page as the add-in sees it; answers empty once the page was closed.
class PageDocument final : public Document
{
public:
    explicit PageDocument(std::weak_ptr<PageModel> model) : m_model(std::move(model)) {}

    std::shared_ptr<Selection> selection() override;
    ElementPtr body() override;
    ElementCollectionPtr images() override;
    ElementCollectionPtr all() override;
    std::string contentType() const override;
    void openUndoUnit() override;
    void closeUndoUnit() override;

private:
    std::weak_ptr<PageModel> m_model;
};

} // namespace tilemond::host
