#include "platform/held_picture.h"

namespace tilemond {
namespace {

bool anyPixelSeeThrough(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return true;
    }
    return false;
}

} // namespace

QImage heldPicture(QImage picture)
{
    if (!picture.hasAlphaChannel()) {
        if (picture.format() != QImage::Format_RGB888)
            picture.convertTo(QImage::Format_RGB32);
        return picture;
    }
    picture.convertTo(QImage::Format_ARGB32);
    if (!anyPixelSeeThrough(picture))
        picture.convertTo(QImage::Format_RGB32);
    return picture;
}

} // namespace tilemond
