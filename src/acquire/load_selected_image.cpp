#include "acquire/load_selected_image.h"

#include "acquire/fit_preview.h"
#include "acquire/picture_choice.h"
#include "acquire/selected_picture.h"
#include "editor/captions.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "pictures/picture_limits.h"
#include "platform/clipboard_picture.h"
#include "platform/picture_box.h"
#include "platform/prompts.h"
#include "platform/yield.h"

namespace tilemond {
namespace {

const QString NoImageSelected =
    QStringLiteral("No Image Currently In FrontPage Selected..\rSelect An Image From File?");

// What the host's Copy of the picture at `index` put on the clipboard; a null image when no
// usable picture arrived. The split will go where the picture was.
QImage copyPicture(host::Application& host, int index)
{
    frmFilters().splitTarget.picture = selectPicture(host, index);
    // Only what this Copy brings counts, never a picture left on the clipboard before.
    SystemClipboard::clear();
    copyInHost(host);
    const QImage picture = SystemClipboard::picture();
    if (!picture.isNull() && !pictureSizeAllowed(picture.width(), picture.height())) {
        tellPictureRefused(tooLargeError(QStringLiteral("The selected picture"), picture.width(),
                                         picture.height()));
        return {};
    }
    return picture;
}

bool takeSelectedPicture()
{
    const std::optional<int> index = HostApp ? selectedPictureIndex(*HostApp) : std::nullopt;
    if (!index)
        return false;
    const QImage picture = copyPicture(*HostApp, *index);
    if (picture.isNull())
        return false;
    frmFilters().Picture1->setPicture(picture);
    yieldEvents(2);
    sizePreviewToPicture();
    frmFilters().Picture1->Refresh();
    yieldEvents(2);
    showPictureInPreview();
    return true;
}

void offerPictureFile()
{
    const int answer =
        prompts().messageBox(NoImageSelected, TilemondCaption, MsgBox::YesNo | MsgBox::Question);
    const std::optional<QImage> picture =
        answer == MsgBox::Yes ? chooseAndReadPicture() : std::nullopt;
    if (!picture) {
        frmFilters().NoGraphic = true;
        return;
    }
    frmFilters().Picture1->setPicture(*picture);
    FitPreviewToPicture();
}

} // namespace

void LoadSelectedImage()
{
    ClearMarkers();
    frmFilters().splitTarget = {};
    const bool fromPage = takeSelectedPicture();
    if (!fromPage)
        offerPictureFile();
    if (!isFrmFiltersLoaded())
        return; // closed meanwhile
    SplitTarget& target = frmFilters().splitTarget;
    if (!fromPage)
        target.picture = nullptr;
    target.place = HostApp ? selectionNow(*HostApp) : nullptr;
}

} // namespace tilemond
