#include "host/page_view.h"

namespace tilemond::host {

void PageView::selectPicture(int index)
{
    const auto document = m_host.activeDocument();
    if (!document)
        return;
    const auto images = document->images();
    const auto picture = images && index >= 0 ? images->item(index) : nullptr;
    const auto selection = document->selection();
    TextRangePtr range;
    if (picture) {
        range = selection ? selection->createRange() : nullptr;
        if (range && !range->moveToElementText(*picture))
            range.reset();
    } else if (const auto body = document->body()) {
        // Nothing selected: the caret goes to the end of the page.
        range = body->createTextRange();
        if (range && !range->setEndPoint("StartToEnd", *range))
            range.reset();
    }
    if (!range || !range->select())
        return;
    showSelection(false);
    emit selectionChanged();
}

void PageView::selectNextPicture(bool forward)
{
    const int count = int(m_host.pictureAddresses().size());
    if (count == 0)
        return;
    const int current = selectedPicture();
    selectPicture(current < 0 ? (forward ? 0 : count - 1)
                              : (current + (forward ? 1 : count - 1)) % count);
    showSelection(true);
}

} // namespace tilemond::host
