#pragma once

#include "host_api/page_document.h"
#include "page/page_model.h"

namespace tilemond::host {

// The page's elements, or those of one tag, looked up afresh at every call.
class PageElementCollection final : public ElementCollection
{
public:
    // Without a tag name, every element.
    PageElementCollection(std::weak_ptr<PageModel> model, std::optional<std::string> tagName);

    int length() const override;
    ElementPtr item(int index) const override;
    ElementPtr item(std::string_view idOrName) const override;
    ElementCollectionPtr tags(std::string_view tagName) const override;

private:
    std::weak_ptr<PageModel> m_model;
    std::optional<std::string> m_tagName; // upper case
};

} // namespace tilemond::host
