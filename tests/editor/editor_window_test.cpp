#include "editor/editor_actions.h"
#include "editor/editor_commands.h"
#include "editor/show_editor.h"
#include "editor_fixture.h"
#include "platform/picture_box.h"
#include "platform/window_geometry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>

namespace tilemond {
namespace {

using ZOrders = std::vector<std::pair<QWidget*, int>>;

// The editor opened as the host's menu opens it, with its own buttons installed.
class EditorWindow : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        editorActions().loadSelectedImage = [this] {
            ++loads;
            loadSawBothWindows = frmFilters().isVisible() && frmPreview().isVisible();
            callsBeforeTopmost = windows.calls().size();
        };
        editorActions().chooseColour = chooseMarkerColour;
        editorActions().cancel = cancelEditing;
    }
    void TearDown() override
    {
        editorActions() = {};
        EditorTest::TearDown();
    }

    static void open()
    {
        EditorOpen = true;
        showFrmFilters();
    }

    // The window-system calls since `from`, as (window, z-order) pairs.
    ZOrders zOrders(size_t from = 0) const
    {
        ZOrders seen;
        for (size_t i = from; i < windows.calls().size(); ++i)
            seen.emplace_back(windows.calls()[i].window, windows.calls()[i].insertAfter);
        return seen;
    }

    static void mouse(QWidget* control, QEvent::Type type, Qt::MouseButton button,
                      Qt::MouseButtons held, QPoint at)
    {
        QMouseEvent event(type, at, control->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(control, &event);
    }

    int loads = 0;
    bool loadSawBothWindows = false;
    size_t callsBeforeTopmost = 0;
};

TEST_F(EditorWindow, OpeningShowsBothWindowsTakesThePictureAndPutsThemOnTop)
{
    open();
    FiltersForm& editor = frmFilters();
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(loadSawBothWindows);
    EXPECT_EQ(callsBeforeTopmost, 0u);
    namespace Z = WindowZOrder;
    EXPECT_EQ(zOrders(), (ZOrders{{&frmPreview(), Z::Topmost}, {&editor, Z::Topmost}}));
    EXPECT_TRUE(EditorOpen);

    // A second opening while open shows the same window and does not load again.
    open();
    EXPECT_EQ(&frmFilters(), &editor);
    EXPECT_EQ(loads, 1);
}

TEST_F(EditorWindow, EveryOpeningStartsFromTheDesignValues)
{
    open();
    click(frmFilters().Command1);
    click(frmFilters().Command2);
    frmFilters().chkTable->setChecked(true);
    answers.answerColour(QColor(Qt::red));
    click(frmFilters().Command3);
    click(frmFilters().Command6);
    EXPECT_FALSE(isFrmFiltersLoaded());
    EXPECT_FALSE(isFrmPreviewLoaded());
    EXPECT_FALSE(EditorOpen);
    EXPECT_TRUE(answers.asked().size() == 1); // the colour dialog only: Cancel asks nothing
    destroyUnloaded();

    frmFilters().NoGraphic = true; // a reference before the opening does not load it
    open();
    FiltersForm& editor = frmFilters();
    EXPECT_EQ(loads, 2);
    EXPECT_FALSE(editor.NoGraphic);
    EXPECT_EQ(editor.HMarkerLast, -1);
    EXPECT_EQ(editor.VMarkerLast, -1);
    EXPECT_FALSE(editor.chkTable->isChecked());
    EXPECT_EQ(editor.LColor->BackColor(), QColor(0, 128, 128));
}

TEST_F(EditorWindow, TitleStripDragsTheWindowWithTheLeftButtonOnly)
{
    open();
    FiltersForm& editor = frmFilters();
    for (QLabel* strip : {editor.TitleBar, editor.Label4}) {
        moveTwips(&editor, 1500, 750);
        windows.clear();
        mouse(strip, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {10, 5});
        EXPECT_FALSE(editor.DragActive);
        EXPECT_EQ(zOrders(), (ZOrders{{&editor, -1}}));
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {30, 15});
        EXPECT_EQ(editor.pos(), QPoint(100, 50));
        mouse(strip, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {30, 15});

        mouse(strip, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 5});
        EXPECT_TRUE(editor.DragActive);
        EXPECT_EQ(editor.DragStartX, 150);
        EXPECT_EQ(editor.DragStartY, 75);
        EXPECT_EQ(editor.cursor().shape(), Qt::SizeAllCursor);
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {10, 5});
        EXPECT_EQ(editor.pos(), QPoint(100, 50)); // no jump at the first move
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {30, 12});
        EXPECT_EQ(editor.pos(), QPoint(120, 57));
        mouse(strip, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {30, 12});
        EXPECT_FALSE(editor.DragActive);
        EXPECT_EQ(editor.cursor().shape(), Qt::ArrowCursor);
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {50, 50});
        EXPECT_EQ(editor.pos(), QPoint(120, 57));
    }
}

TEST_F(EditorWindow, ChosenColourRecoloursEveryMarkerAndCancelChangesNothing)
{
    open();
    FiltersForm& editor = frmFilters();
    click(editor.Command1);
    click(editor.Command2);
    click(editor.Command2);
    PreviewForm& preview = frmPreview();
    const QColor teal(0, 128, 128);
    const auto markerColours = [&] {
        return std::vector<QColor>{preview.Hori1[0].color(), preview.Vert1[0].color(),
                                   preview.Vert1[1].color()};
    };
    namespace Z = WindowZOrder;
    const ZOrders bracket{{&preview, Z::NotTopmost},
                          {&editor, Z::NotTopmost},
                          {&preview, Z::Topmost},
                          {&editor, Z::Topmost}};

    windows.clear();
    click(editor.Command3); // cancelled
    EXPECT_EQ(answers.asked().back().text, teal.name());
    EXPECT_EQ(editor.LColor->BackColor(), teal);
    EXPECT_EQ(markerColours(), std::vector<QColor>(3, teal));
    EXPECT_EQ(zOrders(), bracket);

    windows.clear();
    answers.answerColour(QColor(Qt::yellow));
    click(editor.Command3);
    EXPECT_EQ(editor.LColor->BackColor(), QColor(Qt::yellow));
    EXPECT_EQ(markerColours(), std::vector<QColor>(3, QColor(Qt::yellow)));
    EXPECT_EQ(zOrders(), bracket);
}

} // namespace
} // namespace tilemond
