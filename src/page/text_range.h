#pragma once

#include "host_api/page_document.h"
#include "page/page_model.h"

namespace tilemond::host {

// A pair of byte offsets of the page that shifts with edits before it.
class PageTextRange final : public TextRange
{
public:
    PageTextRange(std::weak_ptr<PageModel> model, std::size_t begin, std::size_t end);

    std::optional<std::string> htmlText() const override;
    bool pasteHTML(std::string_view markup) override;
    bool moveToElementText(const Element& element) override;
    bool select() override;
    bool setEndPoint(std::string_view how, const TextRange& other) override;
    std::optional<int> compareEndPoints(std::string_view how,
                                        const TextRange& other) const override;

private:
    // The other range's span, when both ranges stand in the same open page.
    const TrackedSpan* sameSpan(const TextRange& other) const;

    std::weak_ptr<PageModel> m_model;
    TrackedSpanPtr m_span; // null when the page was already closed
};

} // namespace tilemond::host
