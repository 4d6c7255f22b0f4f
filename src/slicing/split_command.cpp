#include "slicing/split_command.h"

#include "editor/captions.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/split_guard.h"
#include "editor/topmost.h"
#include "platform/clipboard_picture.h"
#include "platform/picture_box.h"
#include "platform/prompts.h"
#include "platform/rectangle_copy.h"
#include "platform/screen_metrics.h"
#include "platform/yield.h"
#include "slicing/cell_grid.h"
#include "slicing/clipboard_transfer.h"
#include "slicing/sort_cuts.h"
#include "slicing/table_insertion.h"

#include <QCheckBox>

namespace tilemond {
namespace {

// The table check box as 0 (unchecked), 1 (checked) or 2 (grayed).
int chkTableValue()
{
    switch (frmFilters().chkTable->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

// The cut lines of the markers 0 .. last of one array, in pixels of the picture: the markers
// lie on the preview, whose client area starts at the picture's top-left pixel.
std::vector<int> gatherCuts(const MarkerArray& markers, int last,
                            float (CutMarker::*position)() const, float (*twipsPerPixel)())
{
    std::vector<float> cuts;
    for (int i = 0; i <= last; ++i)
        if (const CutMarker* marker = markers.at(i))
            cuts.push_back((marker->*position)() / twipsPerPixel());
    return SortCuts(cuts);
}

// Cuts the cell out of Picture1 onto Picture3 and puts Picture3 on the clipboard.
void cutPiece(const QRect& cell)
{
    FiltersForm& editor = frmFilters();
    editor.Picture3->Cls();
    editor.Picture3->setHeight(cell.height());
    editor.Picture3->setWidth(cell.width());
    yieldEvents(1);
    copyRectangle(editor.Picture3->image(), 0, 0, cell.width(), cell.height(),
                  editor.Picture1->image(), cell.x(), cell.y());
    yieldEvents(5);
    editor.Picture3->Refresh();
    yieldEvents(1);
    SystemClipboard::clear();
    yieldEvents(5);
    CopyPictureToClipboard(*editor.Picture3);
    yieldEvents(5);
}

// The largest split that finishes within about a minute (bench/, split and save through the host),
// into a table or into lines alike: each piece costs about the same however many there are. A
// split beyond this is refused at once instead.
constexpr qint64 MaxPieces = 100000;

bool tooManyPieces(std::size_t columns, std::size_t rows)
{
    if (qint64(columns) * qint64(rows) <= MaxPieces)
        return false;
    topmostBracket(false);
    prompts().messageBox(QStringLiteral("Too many pieces: %1 x %2 = %3. At most %4 pieces can be "
                                        "cut at a time; remove some markers.")
                             .arg(columns)
                             .arg(rows)
                             .arg(qint64(columns) * qint64(rows))
                             .arg(MaxPieces),
                         TilemondCaption, MsgBox::OkOnly | MsgBox::Information);
    topmostBracket(true);
    return true;
}

// Makes the page's selection the place the editor's picture came from, whatever the user
// selected since. False when the picture taken from the page is no longer in it.
bool selectSplitTarget(const SplitTarget& target)
{
    if (target.picture)
        return target.picture->isAlive() && target.place &&
               target.place->moveToElementText(*target.picture) && target.place->select();
    if (target.place)
        target.place->select();
    return true;
}

// The pieces have nowhere to go: said, and the editing ends with the page as it was.
void refuseGonePicture()
{
    topmostBracket(false);
    prompts().messageBox(QStringLiteral("The picture the editor was opened on is no longer in the "
                                        "page. Nothing was cut and the page is unchanged."),
                         TilemondCaption, MsgBox::OkOnly | MsgBox::Information);
    unloadFrmPreview();
    unloadFrmFilters();
}

// Everything between the refusal and the closing of the windows.
void splitIntoPage(const std::vector<CellRow>& cells)
{
    TableInsertion page(chkTableValue, frmFilters().splitTarget.picture,
                        frmFilters().Picture1->size().width());
    page.OpenContainer();

    for (const CellRow& row : cells) {
        page.BeginRow();
        for (const QRect& cell : row) {
            cutPiece(cell);
            if (cell.isEmpty())
                page.PlaceEmptyCell(cell.width());
            else
                page.PlaceCell(cell.width());
        }
        page.EndRow();
    }
    page.CloseContainer();

    ClearClipboard();
    if (const host::PageWindowPtr window = HostApp ? HostApp->activeWindow() : nullptr)
        window->Refresh();
}

} // namespace

void Command4_Click()
{
    if (frmFilters().NoGraphic) {
        NoGraphicExit();
        return;
    }
    const FiltersForm& editor = frmFilters();
    const PreviewForm& preview = frmPreview();
    const std::vector<int> XCuts =
        gatherCuts(preview.Hori1, editor.VMarkerLast, &CutMarker::Left, Screen::twipsPerPixelX);
    const std::vector<int> YCuts =
        gatherCuts(preview.Vert1, editor.HMarkerLast, &CutMarker::Top, Screen::twipsPerPixelY);
    if (tooManyPieces(XCuts.size() + 1, YCuts.size() + 1))
        return; // the windows stay open, so that markers can be removed
    if (!selectSplitTarget(editor.splitTarget)) {
        refuseGonePicture();
        return;
    }
    {
        // The running split keeps the editor from loading another picture meanwhile.
        const SplitRunningScope running;
        splitIntoPage(cellGrid(XCuts, YCuts, editor.Picture1->size()));
    }
    unloadFrmPreview();
    unloadFrmFilters();
}

} // namespace tilemond
