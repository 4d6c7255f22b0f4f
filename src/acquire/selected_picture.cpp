#include "acquire/selected_picture.h"

#include "acquire/picture_tags.h"

namespace tilemond {
namespace {

host::TextRangePtr selectionRange(host::Document& document)
{
    const auto selection = document.selection();
    return selection ? selection->createRange() : nullptr;
}

// The pictures from the body's start to the start of `selection`.
int picturesBefore(host::Document& document, const host::TextRange& selection)
{
    const host::ElementPtr body = document.body();
    const host::TextRangePtr range = body ? body->createTextRange() : nullptr;
    if (!range || !range->setEndPoint("EndToStart", selection))
        return 0;
    const std::optional<std::string> html = range->htmlText();
    return html ? countPictureTags(*html) : 0;
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
