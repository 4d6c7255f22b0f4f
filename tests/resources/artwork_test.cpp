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

// Every drawing the windows use is there and comes at the size asked, whatever its own.
TEST(Artwork, EveryDrawingRendersVisiblyAtTheSizeAsked)
{
    for (const char* name : {"titlebar", "app_icon", "add_vertical", "add_horizontal",
                             "remove_vertical", "remove_horizontal", "file_open", "about", "help",
                             "okay", "cancel", "splash", "about_banner", "about_logo"}) {
        SCOPED_TRACE(name);
        const QPixmap pixmap = tilemond::artwork(name, {37, 23});
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.size(), QSize(37, 23));
        EXPECT_TRUE(hasVisiblePixel(pixmap.toImage()));
    }
}

