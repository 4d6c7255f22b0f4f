#include "platform/rectangle_copy.h"

#include <gtest/gtest.h>
#include <limits>

namespace tilemond {
namespace {

// A 4 x 3 picture whose pixel (x, y) is RGB(x, y, 7).
QImage numbered()
{
    QImage image(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgb(x, y, 7));
    return image;
}

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    return image;
}

// Every bit of a pixel, alpha too: a see-through or partly see-through pixel arrives as it was,
// colour and all, on a destination that had no alpha before.
TEST(RectangleCopy, ReplacesTheDestinationPixelsAlphaIncluded)
{
    QImage target = blank(5, 5);
    QImage source(3, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(10, 20, 30, 0));
    source.setPixel(1, 0, qRgba(200, 100, 7, 3));
    source.setPixel(2, 0, qRgb(1, 2, 3));
    ASSERT_TRUE(copyRectangle(target, 2, 4, 3, 1, source, 0, 0));
    EXPECT_EQ(target.pixel(2, 4), qRgba(10, 20, 30, 0));
    EXPECT_EQ(target.pixel(3, 4), qRgba(200, 100, 7, 3));
    EXPECT_EQ(target.pixel(4, 4), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(1, 4), qRgb(255, 255, 255));

    QImage piece = blank(2, 1); // covered whole
    ASSERT_TRUE(copyRectangle(piece, 0, 0, 2, 1, source, 0, 0));
    EXPECT_EQ(piece.pixel(0, 0), qRgba(10, 20, 30, 0));
    EXPECT_EQ(piece.pixel(1, 0), qRgba(200, 100, 7, 3));
}

// Clipped to both surfaces; an empty or negative size, or no source, copies nothing.
TEST(RectangleCopy, CopiesOnlyWhereBothSurfacesReach)
{
    QImage target = blank(3, 3);
    EXPECT_FALSE(copyRectangle(target, 0, 0, 0, 2, numbered(), 0, 0));
    EXPECT_FALSE(copyRectangle(target, 0, 0, 2, -1, numbered(), 0, 0));
    EXPECT_FALSE(copyRectangle(target, 0, 0, 2, 2, QImage(), 0, 0));
    EXPECT_EQ(target, blank(3, 3));
    // Starts left of the source and runs past the target's right edge.
    ASSERT_TRUE(copyRectangle(target, 0, 0, 10, 1, numbered(), -1, 0));
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255)); // nothing left of the source
    EXPECT_EQ(target.pixel(1, 0), qRgb(0, 0, 7));
    EXPECT_EQ(target.pixel(2, 0), qRgb(1, 0, 7));

    const int huge = std::numeric_limits<int>::max();
    EXPECT_TRUE(copyRectangle(target, -2, 0, huge, huge, numbered(), 0, 0));
    EXPECT_EQ(target.pixel(0, 2), qRgb(2, 2, 7));
    EXPECT_FALSE(copyRectangle(target, huge - 1, 0, huge, 1, numbered(), 0, 0));
}

TEST(RectangleCopy, OverlappingCopyWithinOneSurface)
{
    QImage image = numbered();
    ASSERT_TRUE(copyRectangle(image, 1, 0, 3, 1, image, 0, 0));
    ASSERT_TRUE(copyRectangle(image, 0, 1, 2, 2, image, 2, 0)); // a piece to another corner
    EXPECT_EQ(image.pixel(1, 2), qRgb(3, 1, 7));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 7));
    EXPECT_EQ(image.pixel(3, 0), qRgb(2, 0, 7));
}

} // namespace
} // namespace tilemond
