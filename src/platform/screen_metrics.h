#pragma once

#include <QRect>
#include <QSize>

namespace tilemond {

// Twips per screen pixel (1440 / logical DPI: 15 at 96 DPI), on each axis.
// Tests pin them with overrideTwipsPerPixel so that results do not depend on the screen.
class Screen
{
public:
    static float twipsPerPixelX();
    static float twipsPerPixelY();
    static void overrideTwipsPerPixel(float x, float y);
    static void clearOverride();

    // Twips as whole screen pixels, ties to the even pixel, on each axis.
    static int pixelsX(double twips);
    static int pixelsY(double twips);
    static QSize pixels(QSizeF twips);
    static QRect pixels(QRectF twips);
};

} // namespace tilemond
