#include "editor/editor_state.h"
#include "editor/topmost.h"
#include "platform/window_geometry.h"
#include "support/editor_session.h"

#include <QPushButton>

namespace tilemond {
namespace {

using SetTopmostTest = EditorSession;
using ClearMarkersTest = EditorSession;
using RefusalTest = EditorSession;

TEST_F(SetTopmostTest, PassesTheOuterRectangleInPixels)
{
    QWidget& preview = frmPreview();
    moveTwips(&preview, 1500, 744);
    setOuterWidthTwips(&preview, 4290);
    setOuterHeightTwips(&preview, 2700);

    SetTopmost(preview, true);
    ASSERT_EQ(windows.calls().size(), 1u);
    const RecordingWindowSystem::Call& call = windows.calls()[0];
    EXPECT_EQ(std::pair(call.window.data(), call.insertAfter), std::pair(&preview, -1));
    EXPECT_EQ(QRect(call.x, call.y, call.cx, call.cy), QRect(100, 62, 286, 225));
}

TEST_F(ClearMarkersTest, UnloadsFromTheTopSkippingMissingOnesAndHidesElementZero)
{
    FiltersForm& editor = frmFilters();
    MarkerArray& vertical = frmPreview().Hori1;
    for (int i = 0; i < 3; ++i)
        editor.Command1->click();
    std::vector<int> destroyed;
    for (int i : {1, 2})
        QObject::connect(&vertical[i], &QObject::destroyed,
                         [&destroyed, i] { destroyed.push_back(i); });

    ClearMarkers();
    destroyUnloaded();
    EXPECT_EQ(destroyed, (std::vector<int>{2, 1}));
    EXPECT_EQ(vertical.count(), 1);
    EXPECT_FALSE(vertical[0].isVisibleTo(&frmPreview()));
    EXPECT_FALSE(frmPreview().Vert1[0].isVisibleTo(&frmPreview()));
    EXPECT_EQ(editor.VMarkerLast, -1);
    EXPECT_EQ(editor.HMarkerLast, -1);

    editor.HMarkerLast = 4; // more than were ever loaded: the missing ones are skipped
    ClearMarkers();
    EXPECT_EQ(editor.HMarkerLast, -1);
}

TEST_F(RefusalTest, EveryMarkerButtonRefusesWithoutAPicture)
{
    for (auto button : {&FiltersForm::Command1, &FiltersForm::Command2, &FiltersForm::Command5,
                        &FiltersForm::Command7}) {
        windows.clear();
        FiltersForm& editor = frmFilters();
        frmPreview().show();
        QPointer<QWidget> before[] = {&editor, &frmPreview()};
        EditorOpen = true;
        editor.NoGraphic = true;
        const size_t asked = answers.asked().size();

        (editor.*button)->click();
        ASSERT_EQ(answers.asked().size(), asked + 1);
        EXPECT_EQ(answers.asked().back().text, "No Graphic Currently Loaded...Exiting");
        ASSERT_EQ(windows.calls().size(), 2u); // out of the topmost band first
        EXPECT_EQ(windows.calls()[0].insertAfter, -2);

        EXPECT_FALSE(isFrmPreviewLoaded() || isFrmFiltersLoaded() || EditorOpen);
        destroyUnloaded();
        EXPECT_TRUE(before[0].isNull() && before[1].isNull());
    }
}

} // namespace
} // namespace tilemond
