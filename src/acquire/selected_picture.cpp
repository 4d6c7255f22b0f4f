#include "acquire/selected_picture.h"

#include "acquire/picture_tags.h"

namespace tilemond {
namespace {

host::TextRangePtr selectionRange(host::Document& document)
{
    const auto selection = document.selection();
    return selection ? selection->createRange() : nullptr;
}

// The page's pictures from the body's start to the start of `selection`, found by halving the
// page's pictures rather than parsing that part of the page again.
int picturesBefore(host::Document& document, const host::TextRange& selection)
{
    const host::ElementPtr body = document.body();
    const host::TextRangePtr bodyRange = body ? body->createTextRange() : nullptr;
    const host::TextRangePtr probe = body ? body->createTextRange() : nullptr;
    const host::ElementCollectionPtr images = document.images();
    if (!bodyRange || !probe || !images)
        return 0;
    // The first picture whose tag does not start before `range`.
    const auto firstFrom = [&](const host::TextRange& range) {
        int low = 0;
        int high = images->length();
        while (low < high) {
            const int middle = low + (high - low) / 2;
            const host::ElementPtr image = images->item(middle);
            const auto order = image && probe->moveToElementText(*image)
                                   ? probe->compareEndPoints("StartToStart", range)
                                   : std::nullopt;
            if (order && *order < 0)
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    };
    return firstFrom(selection) - firstFrom(*bodyRange);
}

} // namespace

std::optional<int> selectedPictureIndex(host::Application& host)
{
    const host::DocumentPtr document = host.activeDocument();
    const host::TextRangePtr selection = document ? selectionRange(*document) : nullptr;
    const std::optional<std::string> html = selection ? selection->htmlText() : std::nullopt;
    if (!html || countPictureTags(*html) == 0)
        return std::nullopt;
    return picturesBefore(*document, *selection);
}

host::ElementPtr selectPicture(host::Application& host, int index)
{
    const host::DocumentPtr document = host.activeDocument();
    const host::ElementCollectionPtr images = document ? document->images() : nullptr;
    const host::ElementPtr picture = images ? images->item(index) : nullptr;
    const host::PageWindowPtr window = host.activeWindow();
    const host::DocumentPtr shown = window ? window->document() : nullptr;
    const host::TextRangePtr range = shown ? selectionRange(*shown) : nullptr;
    if (picture && range && range->moveToElementText(*picture) && range->select())
        return picture;
    return nullptr;
}

host::TextRangePtr selectionNow(host::Application& host)
{
    const host::DocumentPtr document = host.activeDocument();
    return document ? selectionRange(*document) : nullptr;
}

bool copyInHost(host::Application& host)
{
    const host::CommandBarsPtr bars = host.commandBars();
    const host::CommandBarPtr edit = bars ? bars->item("Edit") : nullptr;
    const host::CommandBarControlsPtr controls = edit ? edit->controls() : nullptr;
    const host::CommandBarControlPtr copy = controls ? controls->item("Copy") : nullptr;
    return copy && copy->Execute();
}

} // namespace tilemond
