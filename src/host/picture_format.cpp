#include "host/picture_format.h"

#include "host/palette_picture.h"

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
    const std::optional<QImage> indexed = paletteCopy(picture);
    const bool fewColours = indexed && !hasPartlySeeThroughColour(*indexed);
    return {fewColours ? PictureType::Png : PictureType::Jpeg, format.quality};
}

} // namespace tilemond::host
