#include "editor/topmost.h"
#include "platform/window_geometry.h"
#include "support/editor_session.h"

#include <QPushButton>
#include <QTest>

namespace tilemond {
namespace {

// Drags with real mouse events through the preview's window, as a user would: press at `from`,
// move pixel by pixel to `to`, release there (window pixels). Returns the caption seen while
// moving.
QString drag(PreviewForm& preview, QPoint from, QPoint to)
{
    QWindow* window = preview.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    const int steps = (to - from).manhattanLength();
    for (int step = 1; step <= steps; ++step)
        QTest::mouseMove(window, from + (to - from) * step / steps);
    const QString caption = preview.windowTitle();
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    return caption;
}

using EditingSession = EditorSession;

TEST_F(EditingSession, PlaceAndDragMarkersWithTheMouse)
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    SetTopmost(preview, true);
    SetTopmost(editor, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    const QRectF outer = outerTwips(&preview);

    QTest::mouseClick(editor.Command1, Qt::LeftButton);
    QTest::mouseClick(editor.Command1, Qt::LeftButton);
    QTest::mouseClick(editor.Command2, Qt::LeftButton);
    MarkerArray& vertical = preview.Hori1;
    MarkerArray& horizontal = preview.Vert1;
    const float centreX = float(int(outer.width()) / 2);
    const float centreY = float(int(outer.height()) / 2);
    ASSERT_FLOAT_EQ(vertical[1].Left(), centreX);
    ASSERT_FLOAT_EQ(horizontal[0].Top(), centreY);
    const int x = vertical[1].x();
    const int y = horizontal[0].y();

    // The newest vertical marker lies on top of the first; drag it right by 40 pixels (and down
    // by 5, which it does not follow).
    EXPECT_EQ(drag(preview, {x + 1, 20}, {x + 41, 25}), QString("X : %1").arg(x + 40));
    EXPECT_FLOAT_EQ(vertical[1].Left(), centreX + 40 * 15);
    EXPECT_EQ(vertical[1].x(), x + 40);
    // Then the horizontal one down by 20.
    EXPECT_EQ(drag(preview, {5, y + 1}, {5, y + 21}), QString("Y : %1").arg(y + 20));
    EXPECT_FLOAT_EQ(horizontal[0].Top(), centreY + 20 * 12);
    EXPECT_EQ(horizontal[0].y(), y + 20);
    // A drag past the far edge puts the marker on the picture's last pixel (the window's client
    // here, as no picture was taken).
    drag(preview, {5, y + 21}, {5, preview.height() + 40});
    EXPECT_FLOAT_EQ(horizontal[0].Top(), float((preview.height() - 1) * 12));
}

} // namespace
} // namespace tilemond
