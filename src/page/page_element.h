#pragma once

#include "host_api/page_document.h"
#include "page/page_model.h"

namespace tilemond::host {

// An element handle: follows the element's start tag through edits.
class PageElement final : public Element
{
public:
    // A null startTag stands for the body a page without body tag implies.
    PageElement(std::weak_ptr<PageModel> model, TrackedSpanPtr startTag);

    // The span that moveToElementText covers; nullopt when the element is gone.
    std::optional<std::pair<std::size_t, std::size_t>> textSpan() const;
    bool belongsTo(const std::shared_ptr<PageModel>& model) const;

    bool isAlive() const override;
    std::string tagName() const override;
    std::optional<std::string> getAttribute(std::string_view name) const override;
    bool insertAdjacentHTML(std::string_view where, std::string_view markup) override;
    std::optional<std::string> innerHTML() const override;
    bool setInnerHTML(std::string_view markup) override;
    TextRangePtr createTextRange() override;
    ElementPtr parentElement() const override;
    // Known for pictures, as the page's browser layout gives them.
    std::optional<std::string> currentStyle(std::string_view property) const override;

private:
    std::optional<ElementSpans> spans() const;

    std::weak_ptr<PageModel> m_model;
    TrackedSpanPtr m_startTag;
};

} // namespace tilemond::host
