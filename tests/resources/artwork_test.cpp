#include "resources/artwork.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

bool hasVisiblePixel(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

TEST(Artwork, EveryDrawingRendersVisiblyAtItsSize)
{
    const struct
    {
        const char* name;
        QSize size;
    } drawings[] = {
        {"titlebar", {280, 20}},
        {"app_icon", {24, 16}},
        {"add_vertical", {16, 16}},
        {"add_horizontal", {16, 16}},
        {"remove_vertical", {16, 16}},
        {"remove_horizontal", {16, 16}},
        {"file_open", {16, 16}},
        {"about", {16, 16}},
        {"help", {27, 20}},
        {"okay", {99, 20}},
        {"cancel", {99, 20}},
        {"splash", {214, 141}},
        {"about_banner", {282, 82}},
        {"about_logo", {80, 65}},
    };
    for (const auto& drawing : drawings) {
        SCOPED_TRACE(drawing.name);
        const QPixmap pixmap = tilemond::artwork(drawing.name, drawing.size);
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.size(), drawing.size);
        EXPECT_TRUE(hasVisiblePixel(pixmap.toImage()));
    }
}

TEST(Artwork, UnknownNameOrEmptySizeGivesNullPixmap)
{
    EXPECT_TRUE(tilemond::artwork("no_such_picture", {16, 16}).isNull());
    EXPECT_TRUE(tilemond::artwork("about", {0, 0}).isNull());
}
