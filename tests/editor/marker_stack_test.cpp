#include "editor_fixture.h"
#include "platform/picture_box.h"
#include "platform/window_geometry.h"

namespace tilemond {
namespace {

using MarkerStack = EditorTest;

TEST_F(MarkerStack, FirstAddShowsElementZeroSecondLoadsElementOne)
{
    FiltersForm& editor = frmFilters();
    MarkerArray& vertical = frmPreview().Hori1;
    click(editor.Command1);
    ASSERT_EQ(vertical.count(), 1);
    EXPECT_TRUE(vertical[0].isVisibleTo(&frmPreview()));
    EXPECT_EQ(vertical[0].lineEnd().y(), outerTwips(&frmPreview()).height());

    click(editor.Command1);
    EXPECT_EQ(editor.VMarkerLast, 1);
    ASSERT_EQ(vertical.count(), 2);
    EXPECT_TRUE(vertical[1].isVisibleTo(&frmPreview()));
    EXPECT_FLOAT_EQ(vertical[1].Left(), vertical[0].Left());
}

TEST_F(MarkerStack, HorizontalMarkersTakeTheSwatchColourAtTheCentreLine)
{
    FiltersForm& editor = frmFilters();
    setOuterHeightTwips(&frmPreview(), 2085); // 174 pixels: 2088 twips
    editor.LColor->setBackColor(QColor(200, 10, 10));
    click(editor.Command2);
    CutMarker& marker = frmPreview().Vert1[0];
    EXPECT_FLOAT_EQ(marker.Top(), 1044); // half the outer height
    EXPECT_EQ(marker.lineEnd().x(), outerTwips(&frmPreview()).width());
    EXPECT_EQ(marker.color(), QColor(200, 10, 10));
    EXPECT_FALSE(frmPreview().Hori1[0].isVisibleTo(&frmPreview()));
}

TEST_F(MarkerStack, RemoveWithOneMarkerHidesElementZeroAndAddPutsItBackAtTheCentre)
{
    FiltersForm& editor = frmFilters();
    click(editor.Command5); // nothing to remove
    EXPECT_EQ(editor.HMarkerLast, -1);
    click(editor.Command2);
    const float centre = frmPreview().Vert1[0].Top();
    frmPreview().Vert1[0].setTop(300);
    click(editor.Command5);
    EXPECT_EQ(editor.HMarkerLast, -1);
    EXPECT_FALSE(frmPreview().Vert1[0].isVisibleTo(&frmPreview()));
    click(editor.Command2);
    EXPECT_FLOAT_EQ(frmPreview().Vert1[0].Top(), centre);
}

TEST_F(MarkerStack, RemoveAlwaysPopsTheLastAdded)
{
    FiltersForm& editor = frmFilters();
    MarkerArray& vertical = frmPreview().Hori1;
    for (int i = 0; i < 3; ++i)
        click(editor.Command1);
    vertical[0].setLeft(300); // dragged last, yet not the one removed
    QPointer<CutMarker> top = &vertical[2];

    click(editor.Command7);
    destroyUnloaded();
    EXPECT_EQ(editor.VMarkerLast, 1);
    EXPECT_TRUE(top.isNull());
    EXPECT_FLOAT_EQ(vertical[0].Left(), 300);
}

TEST_F(MarkerStack, AFullKindTakesNoMoreMarkers)
{
    FiltersForm& editor = frmFilters();
    editor.HMarkerLast = 32767;
    click(editor.Command2);
    EXPECT_EQ(editor.HMarkerLast, 32767);
    EXPECT_EQ(frmPreview().Vert1.count(), 1);
}

} // namespace
} // namespace tilemond
