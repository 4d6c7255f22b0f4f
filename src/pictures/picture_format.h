#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace tilemond::host {

// The file types pasted pictures are written as. Auto takes a PNG for a picture of few colours
// or with see-through pixels and a JPEG for any other, picture by picture.
enum class PictureType { Png, Jpeg, Webp, Auto };

// How pasted pictures are written when the page is saved.
struct PictureFormat
{
    static constexpr int LowestQuality = 1;
    static constexpr int HighestQuality = 100;

    PictureType type = PictureType::Png;
    // For JPEG and WebP, and the JPEGs of Auto; WebP at the highest quality is lossless.
    int quality = 90;

    bool operator==(const PictureFormat&) const = default;
};

// "png", "jpeg", "webp", "auto", as the command line and the settings name them.
QString nameOf(PictureType type);
std::optional<PictureType> pictureTypeNamed(const QString& name);
// The file name extension; Auto decides per picture (decidedFor) and has none of its own.
QString extensionOf(PictureType type);
bool isQuality(int quality);

// Auto made concrete for one picture: a PNG (indexed where that is exact and smaller) when it
// has at most 256 colours or any see-through pixel, else a JPEG. Other formats come back as they are.
PictureFormat decidedFor(const QImage& picture, const PictureFormat& format);

} // namespace tilemond::host
