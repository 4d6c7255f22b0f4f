#include "platform/screen_metrics.h"

#include "platform/rounding.h"

#include <QGuiApplication>
#include <QScreen>
#include <optional>

namespace tilemond {
namespace {

struct Override
{
    float x;
    float y;
};
std::optional<Override> g_override;

float twipsPerPixel(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 15.0f;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? static_cast<float>(1440.0 / dpi) : 15.0f;
}

} // namespace

float Screen::twipsPerPixelX()
{
    return g_override ? g_override->x : twipsPerPixel(true);
}

float Screen::twipsPerPixelY()
{
    return g_override ? g_override->y : twipsPerPixel(false);
}

void Screen::overrideTwipsPerPixel(float x, float y)
{
    g_override = Override{x, y};
}

void Screen::clearOverride()
{
    g_override.reset();
}

int Screen::pixelsX(double twips)
{
    return roundToEven(twips / twipsPerPixelX());
}

int Screen::pixelsY(double twips)
{
    return roundToEven(twips / twipsPerPixelY());
}

QSize Screen::pixels(QSizeF twips)
{
    return {pixelsX(twips.width()), pixelsY(twips.height())};
}

QRect Screen::pixels(QRectF twips)
{
    return {pixelsX(twips.left()), pixelsY(twips.top()), pixelsX(twips.width()),
            pixelsY(twips.height())};
}

} // namespace tilemond
