#include "acquire/picture_tags.h"

#include "platform/html_tree.h"

#include <vector>

namespace tilemond {
namespace {

// Elements the parser made up (or turned from an <image> tag) have no img tag in the text.
constexpr unsigned NotWrittenFlags =
    GUMBO_INSERTION_BY_PARSER | GUMBO_INSERTION_IMPLIED | GUMBO_INSERTION_FROM_IMAGE |
    GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;

bool isWrittenPicture(const GumboNode& node)
{
    return node.v.element.tag == GUMBO_TAG_IMG && !(node.parse_flags & NotWrittenFlags) &&
           node.v.element.original_tag.length > 0;
}

} // namespace

int countPictureTags(std::string_view html)
{
    const HtmlTree tree(html);
    int count = 0;
    // Without recursion: pages nest deeper than a stack allows.
    std::vector<const GumboNode*> pending{tree.root()};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            continue;
        count += isWrittenPicture(*node);
        const GumboVector& children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i)
            pending.push_back(static_cast<const GumboNode*>(children.data[i]));
    }
    return count;
}

} // namespace tilemond
