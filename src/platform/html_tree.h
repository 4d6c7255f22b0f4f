#pragma once

#include <gumbo.h>

#include <string_view>

namespace tilemond {

// The tree gumbo makes of a page, or of a fragment in a container of `context`, built and
// destroyed at a cost that stays linear however deep the page nests: gumbo keeps no parse error
// beyond the first (each would copy the open-element stack), and the tree is taken apart
// without recursion.
class HtmlTree
{
public:
    explicit HtmlTree(std::string_view html, GumboTag context = GUMBO_TAG_LAST);
    ~HtmlTree();
    HtmlTree(const HtmlTree&) = delete;
    HtmlTree& operator=(const HtmlTree&) = delete;

    // The html element, or the fragment's container.
    GumboNode* root() const { return m_output->root; }
    bool hasErrors() const { return m_output->errors.length > 0; }

private:
    GumboOptions m_options;
    GumboOutput* m_output;
};

} // namespace tilemond
