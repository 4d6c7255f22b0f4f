#include "app/editor_driver.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "platform/picture_box.h"
#include "platform/screen_metrics.h"

#include <QCheckBox>
#include <QPushButton>

namespace tilemond::app {

Outcome<void> openEditorFromMenu(host::Application& host)
{
    const auto bars = host.commandBars();
    const auto menuBar = bars ? bars->item("Menu Bar") : nullptr;
    const auto popup = menuBar ? menuBar->controls()->item("Korvi Tessora") : nullptr;
    const auto popupControls = popup ? popup->controls() : nullptr;
    const auto entry = popupControls ? popupControls->item("Tessora Tilemond") : nullptr;
    if (!entry)
        return Unexpected(
            QStringLiteral("the host's menu has no \"Korvi Tessora\" > \"Tessora Tilemond\" "
                           "(is the add-in connected?)"));
    entry->Execute();
    return {};
}

bool editorIsOpen()
{
    return isFrmFiltersLoaded() && isFrmPreviewLoaded();
}

QSize editorPictureSize()
{
    const PictureBox& picture = *frmFilters().Picture1;
    if (picture.picture().isNull())
        return QSize();
    return QSize(
        qRound(picture.ScaleX(picture.ScaleWidth(), picture.ScaleMode(), ScaleUnit::Pixel)),
        qRound(picture.ScaleY(picture.ScaleHeight(), picture.ScaleMode(), ScaleUnit::Pixel)));
}

void placeMarkers(const std::vector<int>& vertical, const std::vector<int>& horizontal)
{
    FiltersForm& editor = frmFilters();
    for (const int x : vertical) {
        editor.Command1->click();
        if (!editorIsOpen() || editor.VMarkerLast < 0)
            return;
        frmPreview().Hori1[editor.VMarkerLast].setLeft(float(x) * Screen::twipsPerPixelX());
    }
    for (const int y : horizontal) {
        editor.Command2->click();
        if (!editorIsOpen() || editor.HMarkerLast < 0)
            return;
        frmPreview().Vert1[editor.HMarkerLast].setTop(float(y) * Screen::twipsPerPixelY());
    }
}

void splitIntoPage(bool table)
{
    FiltersForm& editor = frmFilters();
    editor.chkTable->setChecked(table);
    editor.Command4->click();
}

void closeEditor()
{
    unloadFrmPreview();
    unloadFrmFilters();
}

} // namespace tilemond::app
