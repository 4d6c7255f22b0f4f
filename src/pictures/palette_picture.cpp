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
    // The held formats are read as they are: a photo's piece is given up on after a few rows, and
    // a converted copy of it would have cost the whole piece.
    const bool threeBytes = picture.format() == QImage::Format_RGB888;
    const bool held = threeBytes || picture.format() == QImage::Format_RGB32 ||
                      picture.format() == QImage::Format_ARGB32;
    const QImage argb = held ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb opaque = picture.format() == QImage::Format_ARGB32 ? 0 : 0xff000000;
    const auto pixelAt = [threeBytes, opaque](const uchar* line, int x) {
        return threeBytes ? qRgb(line[3 * x], line[3 * x + 1], line[3 * x + 2])
                          : reinterpret_cast<const QRgb*>(line)[x] | opaque;
    };
    QImage indexed(argb.size(), QImage::Format_Indexed8);
    // Pictures of few colours come in runs: most pixels are the colour of the one before.
    QRgb last = pixelAt(argb.constScanLine(0), 0);
    uchar lastIndex = 0;
    QList<QRgb> colours = {last};
    std::unordered_map<QRgb, uchar> indexOf = {{last, lastIndex}};
    for (int y = 0; y < argb.height(); ++y) {
        const uchar* in = argb.constScanLine(y);
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = pixelAt(in, x);
            if (pixel != last) {
                const auto [found, isNew] = indexOf.try_emplace(pixel, uchar(colours.size()));
                if (isNew) {
                    if (colours.size() == MostColours)
                        return std::nullopt;
                    colours.append(pixel);
                }
                last = pixel;
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
