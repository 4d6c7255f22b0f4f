#include "platform/html_tree.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tilemond {
namespace {

GumboOptions optionsFor(GumboTag context)
{
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 1; // whether there was one is all that is asked
    options.fragment_context = context;
    return options;
}

const GumboVector* childrenOf(const GumboNode& node)
{
    switch (node.type) {
    case GUMBO_NODE_DOCUMENT:
        return &node.v.document.children;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
        return &node.v.element.children;
    default:
        return nullptr;
    }
}

// Makes every node a child of the document, so that gumbo's recursive destruction goes one
// level deep: a page of 100,000 nested elements would overflow the stack.
void flatten(const GumboOptions& options, GumboNode& document)
{
    std::vector<void*> nodes;
    std::vector<GumboNode*> pending{&document};
    while (!pending.empty()) {
        GumboNode* node = pending.back();
        pending.pop_back();
        auto* children = const_cast<GumboVector*>(childrenOf(*node));
        if (!children)
            continue;
        for (unsigned i = 0; i < children->length; ++i) {
            nodes.push_back(children->data[i]);
            pending.push_back(static_cast<GumboNode*>(children->data[i]));
        }
        children->length = 0; // the array itself is still freed with its node
    }
    auto* all = static_cast<void**>(
        options.allocator(options.userdata, sizeof(void*) * (nodes.size() + 1)));
    if (!all)
        std::abort();
    std::copy(nodes.begin(), nodes.end(), all);
    GumboVector& top = document.v.document.children;
    options.deallocator(options.userdata, top.data);
    top.data = all;
    top.length = top.capacity = unsigned(nodes.size());
}

} // namespace

HtmlTree::HtmlTree(std::string_view html, GumboTag context)
    : m_options(optionsFor(context)),
      m_output(gumbo_parse_with_options(&m_options, html.data(), html.size()))
{
}

HtmlTree::~HtmlTree()
{
    flatten(m_options, *m_output->document);
    gumbo_destroy_output(&m_options, m_output);
}

} // namespace tilemond
