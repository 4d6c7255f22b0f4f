#include "editor/marker_drag.h"
#include "platform/screen_metrics.h"

#include <gtest/gtest.h>
#include <map>

namespace tilemond {
namespace {

// A window holding markers at given positions over a picture of 200 x 200 pixels.
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
    float pictureExtent(MarkerKind kind) const override
    {
        return kind == MarkerKind::Vertical ? 3000 : 2400;
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

TEST_F(MarkerDragTest, GrabPointStaysUnderThePointerOnEitherAxis)
{
    drag.press(V, 1, 1, 0, 30.4f, 99.6f);
    EXPECT_TRUE(drag.MarkerDragging());
    EXPECT_EQ(window.caption, "X : 40");

    drag.move(V, 1, 1, 0, 52.5f, 400);
    EXPECT_FLOAT_EQ(at(V, 1), 622.5f);
    EXPECT_EQ(window.caption, "X : 41");
    EXPECT_FLOAT_EQ(at(V, 0), 1500); // other markers stay

    drag.release(V, 1, 1, 0, 52.5f, 400);
    EXPECT_FALSE(drag.MarkerDragging());
    EXPECT_EQ(window.caption, "Tessora Tilemond");

    drag.press(H, 0, 1, 0, 2000, 10); // horizontal markers follow y, at 12 twips a pixel
    EXPECT_EQ(window.caption, "Y : 62");
    drag.move(H, 0, 1, 0, 5, 160);
    EXPECT_FLOAT_EQ(at(H, 0), 900);
    EXPECT_EQ(window.caption, "Y : 75");
}

// Every pixel from 1 to 199 and none beyond: a pointer past either end, however fast it got
// there, puts the marker at that end; the arrow keys step within the same limits.
TEST_F(MarkerDragTest, MarkersStayOnThePictureAndReachEveryPixelOfIt)
{
    const struct
    {
        MarkerKind kind;
        int index;
        float by, expected;
        const char* caption;
    } moves[] = {{V, 1, -594, 15, "X : 1"},
                 {V, 1, 6000, 2985, "X : 199"},
                 {H, 0, 9000, 2388, "Y : 199"},
                 {H, 0, -3000, 12, "Y : 1"}};
    for (const auto& move : moves) {
        drag.press(move.kind, move.index, 1, 0, 0, 0);
        drag.move(move.kind, move.index, 1, 0, move.kind == V ? move.by : 0,
                  move.kind == V ? 0 : move.by);
        EXPECT_FLOAT_EQ(at(move.kind, move.index), move.expected) << move.by;
        EXPECT_EQ(window.caption, move.caption);
        drag.release(move.kind, move.index, 1, 0, 0, 0);
    }
    const struct
    {
        MarkerKind kind;
        int pixels;
        float expected;
        const char* caption;
    } steps[] = {{V, 1, 1515, "X : 101"},
                 {V, -10, 1365, "X : 91"},
                 {V, 200, 2985, "X : 199"},
                 {H, 1, 24, "Y : 2"},
                 {H, -10, 12, "Y : 1"}};
    for (const auto& step : steps) {
        drag.step(step.kind, 0, step.pixels);
        EXPECT_FLOAT_EQ(at(step.kind, 0), step.expected) << step.pixels;
        EXPECT_EQ(window.caption, step.caption);
    }
}

// Without the left button alone held down, markers stay and the caption only reads out.
TEST_F(MarkerDragTest, OnlyTheLeftButtonDrags)
{
    drag.press(V, 0, 2, 0, 15, 15);
    EXPECT_FALSE(drag.MarkerDragging());
    drag.move(V, 0, 3, 0, 300, 15); // left and right together
    drag.move(V, 0, 1, 0, 300, 0);  // left, without a press
    EXPECT_FLOAT_EQ(at(V, 0), 1500);
    EXPECT_EQ(window.caption, "X : 100");
    drag.release(V, 0, 1, 0, 300, 0);
    EXPECT_EQ(window.caption, "Tessora Tilemond");
}

} // namespace
} // namespace tilemond
