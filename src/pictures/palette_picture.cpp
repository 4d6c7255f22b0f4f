#include "pictures/palette_picture.h"

#include <QColorSpace>

#include <unordered_map>

namespace tilemond::host {

namespace {

constexpr int MostColours = 256;

} // namespace

std::optional<QImage> paletteCopy(const QImage& picture)
{
    if (picture.isNull())
        return std::nullopt;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QImage indexed(argb.size(), QImage::Format_Indexed8);
    // Pictures of few colours come in runs: most pixels are the colour of the one before.
    QRgb last = argb.pixel(0, 0);
    uchar lastIndex = 0;
    QList<QRgb> colours = {last};
    std::unordered_map<QRgb, uchar> indexOf = {{last, lastIndex}};
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            if (in[x] != last) {
                const auto [found, isNew] = indexOf.try_emplace(in[x], uchar(colours.size()));
                if (isNew) {
                    if (colours.size() == MostColours)
                        return std::nullopt;
                    colours.append(in[x]);
                }
                last = in[x];
                lastIndex = found->second;
            }
            out[x] = lastIndex;
        }
    }
    indexed.setColorTable(colours);
    indexed.setColorSpace(picture.colorSpace());
    return indexed;
}

} // namespace tilemond::host
