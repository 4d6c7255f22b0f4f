#include "platform/picture_box.h"
#include "platform/window_geometry.h"
#include "support/editor_session.h"

#include <QPushButton>

namespace tilemond {
namespace {

using MarkerStack = EditorSession;

// The first add shows element 0, later ones load more, all at the centre line in the swatch colour,
// across the whole window; a full kind takes no more.
TEST_F(MarkerStack, AddShowsElementZeroThenLoadsMoreAtTheCentreInTheSwatchColour)
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    MarkerArray& vertical = preview.Hori1;
    editor.Command1->click();
    ASSERT_EQ(vertical.count(), 1);
    EXPECT_TRUE(vertical[0].isVisibleTo(&preview));
    EXPECT_EQ(vertical[0].lineEnd().y(), outerTwips(&preview).height());
    editor.Command1->click();
    ASSERT_EQ(vertical.count(), 2);
    EXPECT_TRUE(vertical[1].isVisibleTo(&preview));
    EXPECT_FLOAT_EQ(vertical[1].Left(), vertical[0].Left());

    setOuterHeightTwips(&preview, 2085); // 174 pixels: 2088 twips
    editor.LColor->setBackColor(QColor(200, 10, 10));
    editor.Command2->click();
    CutMarker& horizontal = preview.Vert1[0];
    EXPECT_FLOAT_EQ(horizontal.Top(), 1044); // half the outer height
    EXPECT_EQ(horizontal.lineEnd().x(), outerTwips(&preview).width());
    EXPECT_EQ(horizontal.color(), QColor(200, 10, 10));
    EXPECT_EQ(QPoint(editor.VMarkerLast, vertical.count()), QPoint(1, 2)); // the other kind stays

    editor.HMarkerLast = 32767;
    editor.Command2->click();
    EXPECT_EQ(editor.HMarkerLast, 32767);
    EXPECT_EQ(preview.Vert1.count(), 1);
}

// Remove pops the last added, not the last dragged; the last one is hidden and comes back at the
// centre.
TEST_F(MarkerStack, RemovePopsTheLastAddedAndHidesElementZero)
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    editor.Command5->click(); // nothing to remove
    EXPECT_EQ(editor.HMarkerLast, -1);
    MarkerArray& vertical = preview.Hori1;
    for (int i = 0; i < 3; ++i)
        editor.Command1->click();
    vertical[0].setLeft(300);
    QPointer<CutMarker> top = &vertical[2];
    editor.Command7->click();
    destroyUnloaded();
    EXPECT_EQ(editor.VMarkerLast, 1);
    EXPECT_TRUE(top.isNull());
    EXPECT_FLOAT_EQ(vertical[0].Left(), 300);

    editor.Command2->click();
    const float centre = preview.Vert1[0].Top();
    preview.Vert1[0].setTop(300);
    editor.Command5->click();
    EXPECT_EQ(editor.HMarkerLast, -1);
    EXPECT_FALSE(preview.Vert1[0].isVisibleTo(&preview));
    editor.Command2->click();
    EXPECT_FLOAT_EQ(preview.Vert1[0].Top(), centre);
}

} // namespace
} // namespace tilemond
