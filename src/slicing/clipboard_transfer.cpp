#include "slicing/clipboard_transfer.h"

#include "platform/clipboard_picture.h"
#include "platform/picture_box.h"
#include "platform/rectangle_copy.h"
#include "platform/rounding.h"

namespace tilemond {

void CopyPictureToClipboard(const PictureBox& surface)
{
    const int width =
        roundToEven(surface.ScaleX(surface.ScaleWidth(), surface.ScaleMode(), ScaleUnit::Pixel));
    const int height =
        roundToEven(surface.ScaleY(surface.ScaleHeight(), surface.ScaleMode(), ScaleUnit::Pixel));
    const QImage& image = surface.image();
    if (width <= 0 || height <= 0 || image.isNull())
        return;
    QImage bitmap(width, height, image.format());
    if (bitmap.isNull())
        return;
    bitmap.fill(Qt::black); // what a new bitmap holds where the surface has no pixels
    copyRectangle(bitmap, 0, 0, width, height, image, 0, 0);
    SystemClipboard::setPicture(bitmap);
}

void ClearClipboard()
{
    SystemClipboard::clear();
}

} // namespace tilemond
