#pragma once

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
};

} // namespace tilemond
