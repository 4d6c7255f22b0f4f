#include "pictures/picture_format.h"

#include "pictures/palette_picture.h"

#include <array>

namespace tilemond::host {

namespace {

struct TypeName
{
    PictureType type;
    const char* name;
    const char* extension;
};

constexpr std::array<TypeName, 4> TypeNames = {{{PictureType::Png, "png", "png"},
                                                {PictureType::Jpeg, "jpeg", "jpg"},
                                                {PictureType::Webp, "webp", "webp"},
                                                {PictureType::Auto, "auto", ""}}};

const TypeName& entryOf(PictureType type)
{
    return TypeNames[std::size_t(type)];
}

} // namespace

QString nameOf(PictureType type)
{
    return QLatin1String(entryOf(type).name);
}

std::optional<PictureType> pictureTypeNamed(const QString& name)
{
    for (const TypeName& entry : TypeNames)
        if (name == QLatin1String(entry.name))
            return entry.type;
    return std::nullopt;
}

QString extensionOf(PictureType type)
{
    return QLatin1String(entryOf(type).extension);
}

bool isQuality(int quality)
{
    return quality >= PictureFormat::LowestQuality && quality <= PictureFormat::HighestQuality;
}

PictureFormat decidedFor(const QImage& picture, const PictureFormat& format)
{
    if (format.type != PictureType::Auto)
        return format;
    // JPEG has no see-through pixels; a held picture has an alpha channel only for them.
    const bool lossless = picture.hasAlphaChannel() || paletteCopy(picture).has_value();
    return {lossless ? PictureType::Png : PictureType::Jpeg, format.quality};
}

} // namespace tilemond::host
