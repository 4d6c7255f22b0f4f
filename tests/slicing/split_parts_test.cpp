#include "platform/clipboard_picture.h"
#include "platform/picture_box.h"
#include "platform/screen_metrics.h"
#include "slicing/cell_grid.h"
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
    EXPECT_EQ(SortCuts({}), std::vector<int>{});
    // Beyond the counted range: a cut below a picture 32767 pixels high, or left of it.
    EXPECT_EQ(SortCuts({32773.f, 5.f, -2.5f, 40000.6f, 32767.f}),
              (std::vector<int>{-2, 5, 32767, 32773, 40001}));
}

TEST(CellGrid, CutsThePictureRowByRowFromTheTopLeft)
{
    const auto grid = cellGrid({80}, {30}, {200, 100});
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0], (CellRow{{0, 0, 80, 30}, {80, 0, 120, 30}}));
    EXPECT_EQ(grid[1], (CellRow{{0, 30, 80, 70}, {80, 30, 120, 70}}));
    EXPECT_EQ(cellGrid({}, {}, {200, 100}), (std::vector<CellRow>{{{0, 0, 200, 100}}}));
}

TEST(CellGrid, CutsOnOneLineOrBeyondTheEdgeGiveEmptyCellsNeverNegativeOnes)
{
    const auto grid = cellGrid({50, 50}, {106}, {200, 100});
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0], (CellRow{{0, 0, 50, 100}, {50, 0, 0, 100}, {50, 0, 150, 100}}));
    for (const QRect& cell : grid[1]) {
        EXPECT_EQ(cell.top(), 100);
        EXPECT_EQ(cell.height(), 0);
    }
}

TEST(ReplaceText, RemovesEveryOccurrenceInAnyLetterCase)
{
    EXPECT_EQ(ReplaceText("a<P>b<p>c", "<p>", ""), "abc");
    EXPECT_EQ(ReplaceText("<p>x</p><p class='y'>z</P>", "<p>", ""), "x</p><p class='y'>z</P>");
    EXPECT_EQ(ReplaceText("no tags", "<p>", ""), "no tags");
    // Left to right, without overlaps; the replacement is not searched again.
    EXPECT_EQ(ReplaceText("aaaa", "aa", "a"), "aa");
}

class ClipboardTransfer : public ::testing::Test
{
protected:
    void SetUp() override { Screen::overrideTwipsPerPixel(15, 15); }
    void TearDown() override { Screen::clearOverride(); }

    static void paint(PictureBox& box)
    {
        QImage& image = box.image();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x, y, x ^ y));
    }
};

TEST_F(ClipboardTransfer, PutsTheSurfacePixelForPixelAsThePicture)
{
    PictureBox box(Qt::white);
    box.setScaleMode(ScaleUnit::Pixel);
    box.resize(120, 70);
    paint(box);
    CopyPictureToClipboard(box);
    EXPECT_EQ(SystemClipboard::picture().convertToFormat(QImage::Format_RGB32), box.image());

    // Measured in twips, the surface still gives its size in pixels.
    box.setScaleMode(ScaleUnit::Twip);
    ASSERT_EQ(box.ScaleWidth(), 1800);
    CopyPictureToClipboard(box);
    EXPECT_EQ(SystemClipboard::picture().size(), QSize(120, 70));

    ClearClipboard();
    EXPECT_TRUE(SystemClipboard::picture().isNull());
}

TEST_F(ClipboardTransfer, ASurfaceWithoutPixelsLeavesTheClipboardAlone)
{
    PictureBox box(Qt::white);
    box.setScaleMode(ScaleUnit::Pixel);
    box.resize(0, 70);
    const QImage before(3, 3, QImage::Format_RGB32);
    SystemClipboard::setPicture(before);
    CopyPictureToClipboard(box);
    EXPECT_EQ(SystemClipboard::picture().size(), QSize(3, 3));
}

} // namespace
} // namespace tilemond
