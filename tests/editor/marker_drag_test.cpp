#include "editor/marker_drag.h"
#include "platform/screen_metrics.h"

#include <gtest/gtest.h>
#include <map>

namespace tilemond {
namespace {

// A window 3000 x 2000 twips (outer) holding markers at given positions.
class FakeWindow : public MarkerDragSurface
{
public:
    float markerPosition(MarkerKind kind, int index) const override
    {
        return positions.at({kind, index});
    }
    void setMarkerPosition(MarkerKind kind, int index, float position) override
    {
        positions[{kind, index}] = position;
    }
    float outerExtent(MarkerKind kind) const override
    {
        return kind == MarkerKind::Vertical ? 3000 : 2000;
    }
    void setCaption(const QString& text) override { caption = text; }

    std::map<std::pair<MarkerKind, int>, float> positions;
    QString caption = "Tessora Tilemond";
};

constexpr auto V = MarkerKind::Vertical;
constexpr auto H = MarkerKind::Horizontal;

class MarkerDragTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Unequal axes, so that one taken for the other shows.
        Screen::overrideTwipsPerPixel(15, 12);
        window.positions = {{{V, 0}, 1500}, {{V, 1}, 600}, {{H, 0}, 750}};
    }
    void TearDown() override { Screen::clearOverride(); }

    float at(MarkerKind kind, int index) { return window.positions.at({kind, index}); }

    FakeWindow window;
    MarkerDrag drag{window};
};

TEST_F(MarkerDragTest, GrabPointStaysUnderThePointer)
{
    drag.press(V, 1, 1, 0, 30.4f, 99.6f);
    EXPECT_EQ(drag.MarkerDownX(), 30);
    EXPECT_EQ(drag.MarkerDownY(), 100);
    EXPECT_TRUE(drag.MarkerDragging());
    EXPECT_EQ(window.caption, "X : 40");

    drag.move(V, 1, 1, 0, 52.5f, 400);
    EXPECT_FLOAT_EQ(at(V, 1), 622.5f);
    EXPECT_EQ(window.caption, "X : 41");
    EXPECT_FLOAT_EQ(at(V, 0), 1500); // other markers stay

    drag.release(V, 1, 1, 0, 52.5f, 400);
    EXPECT_FALSE(drag.MarkerDragging());
    EXPECT_EQ(window.caption, "Tessora Tilemond");
}

TEST_F(MarkerDragTest, HorizontalMarkersFollowY)
{
    drag.press(H, 0, 1, 0, 2000, 10);
    EXPECT_EQ(window.caption, "Y : 62"); // 750 / 12
    drag.move(H, 0, 1, 0, 5, 160);
    EXPECT_FLOAT_EQ(at(H, 0), 900);
    EXPECT_EQ(window.caption, "Y : 75");
}

TEST_F(MarkerDragTest, LowerLimitIsSixTwipsWithoutClamping)
{
    drag.press(V, 1, 1, 0, 0, 0);
    drag.move(V, 1, 1, 0, -594, 0); // 6: accepted
    EXPECT_FLOAT_EQ(at(V, 1), 6);
    drag.move(V, 1, 1, 0, -0.6f, 0); // 5.4 rounds to 5: refused
    EXPECT_FLOAT_EQ(at(V, 1), 6);
    drag.move(V, 1, 1, 0, -500, 0); // far beyond: stays put, not clamped
    EXPECT_FLOAT_EQ(at(V, 1), 6);
    EXPECT_EQ(window.caption, "X : 0");
}

TEST_F(MarkerDragTest, UpperLimitIsTheOuterExtentLess200)
{
    drag.press(H, 0, 1, 0, 0, 0);
    drag.move(H, 0, 1, 0, 0, 1049); // 1799: accepted
    EXPECT_FLOAT_EQ(at(H, 0), 1799);
    drag.move(H, 0, 1, 0, 0, 1); // 1800: refused
    EXPECT_FLOAT_EQ(at(H, 0), 1799);
    EXPECT_EQ(window.caption, "Y : 149");
}

TEST_F(MarkerDragTest, OnlyTheLeftButtonDrags)
{
    drag.press(V, 0, 2, 0, 15, 15);
    EXPECT_FALSE(drag.MarkerDragging());
    EXPECT_EQ(window.caption, "Tessora Tilemond");
    drag.move(V, 0, 2, 0, 300, 15);
    drag.move(V, 0, 3, 0, 300, 15); // left and right together
    EXPECT_FLOAT_EQ(at(V, 0), 1500);
    EXPECT_EQ(window.caption, "Tessora Tilemond");
}

TEST_F(MarkerDragTest, MoveWithoutAPressOnlyRefreshesTheCaption)
{
    drag.move(V, 0, 1, 0, 300, 0);
    EXPECT_FLOAT_EQ(at(V, 0), 1500);
    EXPECT_EQ(window.caption, "X : 100");
    drag.release(V, 0, 1, 0, 300, 0);
    EXPECT_EQ(window.caption, "Tessora Tilemond");
}

TEST_F(MarkerDragTest, ReadoutTruncatesTowardsZero)
{
    window.positions[{V, 0}] = 14.5f; // rounds to 14, less than one pixel
    drag.move(V, 0, 1, 0, 0, 0);
    EXPECT_EQ(window.caption, "X : 0");
    window.positions[{V, 0}] = -20;
    drag.move(V, 0, 1, 0, 0, 0);
    EXPECT_EQ(window.caption, "X : -1");
    window.positions[{H, 0}] = 14; // a whole pixel down
    drag.move(H, 0, 1, 0, 0, 0);
    EXPECT_EQ(window.caption, "Y : 1");
}

} // namespace
} // namespace tilemond
