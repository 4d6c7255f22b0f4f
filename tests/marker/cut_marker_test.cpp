#include "marker/ch_v_splitter.h"
#include "marker/ct_h_splitter.h"
#include "platform/screen_metrics.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tilemond {
namespace {

class CutMarkerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        // Unequal axes, so that one taken for the other shows.
        Screen::overrideTwipsPerPixel(15, 12);
        window.resize(400, 300);
    }
    void TearDown() override { Screen::clearOverride(); }

    QWidget window;
};

TEST_F(CutMarkerTest, ReadoutShowsPixelsOnRequestOnly)
{
    // The vertical line's read-out counts vertical pixels, the horizontal line's horizontal ones.
    chVSplitter marker(&window);
    EXPECT_TRUE(marker.Label1()->isHidden());
    marker.ShowPos(150);
    EXPECT_FALSE(marker.Label1()->isHidden());
    EXPECT_EQ(marker.Label1()->text(), "12.5");
    marker.HidePos();
    EXPECT_TRUE(marker.Label1()->isHidden());

    ctHSplitter horizontal(&window);
    horizontal.ShowPos(100);
    EXPECT_EQ(horizontal.Label1()->text(), "6.66666666666667");
}

// SetLine moves only the line's end; a marker's place in twips lands on whole pixels, ties to
// even.
TEST_F(CutMarkerTest, LineAndPlacementKeepTwipsApartFromWholePixels)
{
    chVSplitter vertical(&window);
    vertical.SetLine(2085);
    EXPECT_EQ(vertical.lineEnd(), QPointF(0, 2085));
    EXPECT_FLOAT_EQ(vertical.Height(), 5325); // the control keeps its size

    ctHSplitter horizontal(&window);
    horizontal.SetLine(60); // below the start: the line runs back to x = 120
    EXPECT_EQ(horizontal.lineStart(), QPointF(120, 0));
    EXPECT_EQ(horizontal.lineEnd(), QPointF(60, 0));

    vertical.setLeft(1507.5f);
    vertical.setWidth(480);
    vertical.setTop(1254);
    vertical.setHeight(3000);
    EXPECT_EQ(vertical.geometry(), QRect(100, 104, 32, 250)); // from 100.5 and 104.5 pixels
}

TEST_F(CutMarkerTest, SetColorPaintsHandleAndLine)
{
    ctHSplitter marker(&window);
    marker.setWidth(3000);
    marker.SetColor(QColor(0, 128, 128));
    marker.SetLine(3000);
    const QImage shot = marker.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(1, 1)), QColor(0, 128, 128));   // handle
    EXPECT_EQ(QColor(shot.pixel(100, 0)), QColor(0, 128, 128)); // line
}

TEST_F(CutMarkerTest, MouseEventsReportTwipsRelativeToTheControlButNotFromTheReadout)
{
    window.show();
    chVSplitter marker(&window);
    marker.setLeft(1500);
    marker.setWidth(480);
    marker.setHeight(3000);
    marker.show();
    QSignalSpy down(&marker, &CutMarker::MouseDown);
    QSignalSpy move(&marker, &CutMarker::MouseMove);
    QSignalSpy up(&marker, &CutMarker::MouseUp);
    QWindow* handle = window.windowHandle();

    // Press on the handle, then leave the control with the button down: the control keeps
    // receiving the mouse until the release. The control stands at (100, 0) pixels.
    QTest::mousePress(handle, Qt::LeftButton, Qt::ShiftModifier, QPoint(102, 3));
    QTest::mouseMove(handle, QPoint(250, 40));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(250, 40));

    // Arguments: button, shift, x, y.
    ASSERT_EQ(down.size(), 1);
    EXPECT_EQ(down[0], (QVariantList{1, 1, 2.0f * 15, 3.0f * 12}));
    ASSERT_GE(move.size(), 1);
    EXPECT_EQ(move.last()[0].toInt(), 1);
    ASSERT_EQ(up.size(), 1);
    EXPECT_EQ(up[0].mid(2), (QVariantList{150.0f * 15, 40.0f * 12}));

    QTest::mousePress(handle, Qt::RightButton, {}, QPoint(110, 100));
    QTest::mouseRelease(handle, Qt::RightButton, {}, QPoint(110, 100));
    EXPECT_EQ(down.last()[0].toInt(), 2);

    // A press on the read-out raises nothing.
    marker.ShowPos(150);
    const QPoint onLabel = marker.Label1()->mapTo(&window, marker.Label1()->rect().center());
    QTest::mousePress(handle, Qt::LeftButton, {}, onLabel);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, onLabel);
    EXPECT_EQ(down.size(), 2);
    EXPECT_EQ(up.size(), 2);
}

} // namespace
} // namespace tilemond
