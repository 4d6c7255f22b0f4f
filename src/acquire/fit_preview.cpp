#include "acquire/fit_preview.h"

#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/window_layout.h"
#include "platform/picture_box.h"
#include "platform/rounding.h"
#include "platform/screen_metrics.h"

namespace tilemond {
namespace {

// Pixels right of and below the picture: a marker at the picture's last pixel still shows
// enough of itself there to be taken again.
constexpr int StripBesidePicture = 20;

// Picture1 measures in pixels: its scale size is the picture's size.
QSize pictureSize()
{
    const PictureBox& picture = *frmFilters().Picture1;
    return {roundToEven(picture.ScaleWidth()), roundToEven(picture.ScaleHeight())};
}

} // namespace

void FitPreviewToPicture()
{
    sizePreviewToPicture();
    showPictureInPreview();
}

void sizePreviewToPicture()
{
    PreviewForm& preview = frmPreview();
    // The surface holds the whole picture with the strip beside it, whatever frame and title bar
    // the window system puts around it (sizing the outer window to the picture cut its edges);
    // the window shows as much of it as the screen has room for, and scrolls.
    preview.setPictureSize(pictureSize());
    preview.setContentSize(pictureSize() + QSize(StripBesidePicture, StripBesidePicture));
    const QSizeF extent = preview.extentTwips();
    preview.Vert1[0].SetLine(roundToEven(extent.width()));
    preview.Hori1[0].SetLine(roundToEven(extent.height()));
    layOutEditorWindows();
}

void showPictureInPreview()
{
    PreviewForm& preview = frmPreview();
    const QSize picture = pictureSize();
    // The picture onto the preview's top-left corner (a plain copy), shared while nothing else is
    // drawn there.
    const QImage& source = frmFilters().Picture1->image();
    preview.surface().copyToTopLeft(
        source.size() == picture ? source : source.copy(QRect(QPoint(0, 0), picture)));
    preview.Refresh();
}

} // namespace tilemond
