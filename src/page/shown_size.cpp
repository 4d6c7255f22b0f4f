#include "page/shown_size.h"

#include "platform/rounding.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace tilemond::host {
namespace {

// A dimension attribute in pixels: leading digits with an optional fraction, whatever follows
// them, unless it is a percentage.
std::optional<double> pixels(const ParsedElement& image, std::string_view name)
{
    const auto* attribute = image.attribute(name);
    if (!attribute)
        return std::nullopt;
    const std::string& text = attribute->value;
    std::size_t at = text.find_first_not_of(" \t\n\f\r");
    const std::size_t start = at;
    const auto isNumber = [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '.';
    };
    while (at < text.size() && isNumber(text[at]))
        ++at;
    if (at == start || start == std::string::npos || (at < text.size() && text[at] == '%'))
        return std::nullopt;
    const double value = std::strtod(text.substr(start, at - start).c_str(), nullptr);
    return value > 0 ? std::optional(value) : std::nullopt;
}

int wholePixels(double value)
{
    return std::max(1, roundToEven(value));
}

} // namespace

ShownSize shownSize(const ParsedElement& image)
{
    const std::optional<double> width = pixels(image, "width");
    const std::optional<double> height = pixels(image, "height");
    if (!width && !height)
        return {};
    return [width, height](QSize own) {
        if (own.isEmpty())
            return own;
        const double across = width ? *width : *height * own.width() / own.height();
        const double down = height ? *height : *width * own.height() / own.width();
        return QSize(wholePixels(across), wholePixels(down));
    };
}

} // namespace tilemond::host
