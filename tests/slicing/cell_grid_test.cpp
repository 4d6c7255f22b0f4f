#include "platform/clipboard_picture.h"
#include "platform/picture_box.h"
#include "platform/screen_metrics.h"
#include "slicing/clipboard_transfer.h"
#include "slicing/replace_text.h"
#include "slicing/sort_cuts.h"

#include <gtest/gtest.h>

namespace tilemond {
namespace {

TEST(SortCuts, RoundsTiesToEvenAndSortsKeepingDuplicates)
{
    EXPECT_EQ(SortCuts({101.5f, 30.f, 100.5f, 30.f, 0.4f}),
              (std::vector<int>{0, 30, 30, 100, 102}));
    // Beyond the counted range: a cut below a picture 32767 pixels high, or left of it.
    EXPECT_EQ(SortCuts({32773.f, 5.f, -2.5f, 40000.6f, 32767.f}),
              (std::vector<int>{-2, 5, 32767, 32773, 40001}));
}

TEST(ReplaceText, RemovesEveryOccurrenceInAnyLetterCase)
{
    EXPECT_EQ(ReplaceText("a<P>b<p>c", "<p>", ""), "abc");
    EXPECT_EQ(ReplaceText("aaaa", "aa", "a"), "aa"); // the replacement is not searched again
}

TEST(ClipboardTransfer, PutsTheSurfacesInnerAreaPixelForPixel)
{
    Screen::overrideTwipsPerPixel(15, 15);
    PictureBox box(Qt::white);
    box.setScaleMode(ScaleUnit::Pixel);
    box.resize(120, 70);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 120; ++x)
            box.image().setPixel(x, y, qRgb(x, y, x ^ y));
    CopyPictureToClipboard(box);
    EXPECT_EQ(SystemClipboard::picture().convertToFormat(QImage::Format_RGB32), box.image());

    // Measured in twips (1800 wide), the surface still gives its size in pixels.
    box.setScaleMode(ScaleUnit::Twip);
    SystemClipboard::clear();
    CopyPictureToClipboard(box);
    EXPECT_EQ(SystemClipboard::picture().size(), QSize(120, 70));

    // Without a single pixel there is no copy, and the clipboard keeps what it had.
    box.resize(0, 70);
    CopyPictureToClipboard(box);
    EXPECT_EQ(SystemClipboard::picture().size(), QSize(120, 70));
    ClearClipboard();
    EXPECT_TRUE(SystemClipboard::picture().isNull());
    Screen::clearOverride();
}

} // namespace
} // namespace tilemond
