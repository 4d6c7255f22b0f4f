#include "editor/editor_actions.h"
#include "editor/editor_commands.h"
#include "editor/editor_state.h"
#include "platform/picture_box.h"
#include "platform/window_geometry.h"
#include "support/editor_session.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <map>

namespace tilemond {
namespace {

using ZOrders = std::vector<std::pair<QWidget*, int>>;
constexpr int Top = WindowZOrder::Topmost;
constexpr int NotTop = WindowZOrder::NotTopmost;

// The editor opened as the host's menu opens it, with its own buttons installed.
class EditorWindow : public EditorSession
{
protected:
    void SetUp() override
    {
        EditorSession::SetUp();
        editorActions().loadSelectedImage = [this] {
            ++loads;
            loadSawBothWindows = frmFilters().isVisible() && frmPreview().isVisible();
            zOrdersBeforeLoadEnded = zOrders().size();
        };
        editorActions().chooseColour = chooseMarkerColour;
        editorActions().cancel = cancelEditing;
        EditorOpen = true;
        showFrmFilters();
    }

    ZOrders zOrders() const
    {
        ZOrders seen;
        for (const auto& call : windows.calls())
            seen.emplace_back(call.window, call.insertAfter);
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
    size_t zOrdersBeforeLoadEnded = 1;
};

TEST_F(EditorWindow, OpensOnceWithBothWindowsOnTopAndAfreshAfterCancel)
{
    FiltersForm* editor = &frmFilters();
    EXPECT_TRUE(loadSawBothWindows);
    EXPECT_EQ(zOrdersBeforeLoadEnded, 0u);
    EXPECT_EQ(zOrders(), (ZOrders{{&frmPreview(), Top}, {editor, Top}}));
    EXPECT_TRUE(EditorOpen);
    showFrmFilters(); // while open: the same window, not loaded again
    EXPECT_EQ(&frmFilters(), editor);
    EXPECT_EQ(loads, 1);

    editor->Command1->click();
    editor->Command2->click();
    editor->chkTable->setChecked(true);
    answers.answerColour(QColor(Qt::red));
    editor->Command3->click();
    editor->Command6->click();
    EXPECT_FALSE(isFrmFiltersLoaded() || isFrmPreviewLoaded() || EditorOpen);
    EXPECT_EQ(answers.asked().size(), 1u); // the colour only: Cancel asks nothing
    destroyUnloaded();

    frmFilters().NoGraphic = true; // a mere reference does not load the window
    showFrmFilters();
    editor = &frmFilters();
    EXPECT_EQ(loads, 2);
    EXPECT_FALSE(editor->NoGraphic);
    EXPECT_EQ(QPoint(editor->HMarkerLast, editor->VMarkerLast), QPoint(-1, -1));
    EXPECT_FALSE(editor->chkTable->isChecked());
    EXPECT_TRUE(frmPreview().Hori1[0].isHidden());
    EXPECT_EQ(editor->LColor->BackColor(), QColor(0, 128, 128));
}

// The keys right after opening: the first add button has the focus and shows it, so Space adds a
// marker and Enter does nothing, neither splits; Tab goes round every control.
TEST_F(EditorWindow, OpensWithAVisibleFocusOnTheFirstAddButton)
{
    int splits = 0;
    editorActions().split = [&] { ++splits; };
    FiltersForm& editor = frmFilters();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    ASSERT_EQ(QApplication::focusWidget(), editor.Command2);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(splits, 0);
    EXPECT_EQ(editor.HMarkerLast, 0);

    std::map<QWidget*, QImage> focused;
    for (int i = 0; i < 12; ++i) {
        QWidget* const at = QApplication::focusWidget();
        focused[at] = at->grab().toImage();
        QTest::keyClick(at, Qt::Key_Tab);
    }
    EXPECT_EQ(focused.size(), 12u); // every control once
    EXPECT_EQ(QApplication::focusWidget(), editor.Command2);
    // A frame shows where the keys go, on the buttons and on the colour swatch alike.
    QTest::keyClick(editor.Command2, Qt::Key_Tab);
    for (QWidget* control :
         std::initializer_list<QWidget*>{editor.Command2, editor.Command4, editor.LColor})
        EXPECT_NE(control->grab().toImage(), focused[control])
            << control->metaObject()->className();
}

TEST_F(EditorWindow, ClosingWhileThePictureIsTakenEndsTheLoad)
{
    frmFilters().Command6->click();
    destroyUnloaded();
    editorActions().loadSelectedImage = cancelEditing; // the user's Cancel during its yields
    windows.clear();
    showFrmFilters();
    EXPECT_FALSE(isFrmFiltersLoaded() || isFrmPreviewLoaded() || EditorOpen);
    ASSERT_EQ(windows.calls().size(), 2u); // Cancel's bracket only: nothing is put on top
    EXPECT_EQ(windows.calls()[1].insertAfter, NotTop);
}

TEST_F(EditorWindow, TitleStripDragsTheWindowWithTheLeftButtonOnly)
{
    FiltersForm& editor = frmFilters();
    for (QLabel* strip : {editor.TitleBar, editor.Label4}) {
        moveTwips(&editor, 1500, 744);
        windows.clear();
        mouse(strip, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {10, 5});
        EXPECT_FALSE(editor.DragActive);
        EXPECT_EQ(zOrders(), (ZOrders{{&editor, Top}}));
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {30, 15});
        EXPECT_EQ(editor.pos(), QPoint(100, 62));
        mouse(strip, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {30, 15});

        mouse(strip, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 5});
        EXPECT_EQ(editor.cursor().shape(), Qt::SizeAllCursor);
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {10, 5});
        EXPECT_EQ(editor.pos(), QPoint(100, 62)); // no jump at the first move
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {30, 12});
        EXPECT_EQ(editor.pos(), QPoint(120, 69));
        mouse(strip, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {30, 12});
        EXPECT_EQ(editor.cursor().shape(), Qt::ArrowCursor);
        mouse(strip, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {50, 50});
        EXPECT_EQ(editor.pos(), QPoint(120, 69));
    }
}

TEST_F(EditorWindow, ChosenColourRecoloursEveryMarkerAndCancelChangesNothing)
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    editor.Command1->click();
    editor.Command2->click();
    editor.Command2->click();
    const auto markerColours = [&] {
        return std::vector<QColor>{preview.Hori1[0].color(), preview.Vert1[0].color(),
                                   preview.Vert1[1].color()};
    };
    const ZOrders bracket{{&preview, NotTop}, {&editor, NotTop}, {&preview, Top}, {&editor, Top}};
    const QColor teal(0, 128, 128);
    for (const std::optional<QColor> answer : {std::optional<QColor>(), {QColor(Qt::yellow)}}) {
        windows.clear();
        answers.answerColour(answer);
        editor.Command3->click();
        EXPECT_EQ(answers.asked().back().text, teal.name()); // seeded with the swatch
        EXPECT_EQ(editor.LColor->BackColor(), answer.value_or(teal));
        EXPECT_EQ(markerColours(), std::vector<QColor>(3, answer.value_or(teal)));
        EXPECT_EQ(zOrders(), bracket);
    }
}

using EditorWindows = EditorSession;

TEST_F(EditorWindows, DoubleClickOnThePreviewFocusesTheEditor)
{
    FiltersForm& editor = frmFilters();
    PreviewForm& preview = frmPreview();
    editor.show();
    preview.show();
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    const bool onTop = preview.windowFlags().testFlag(Qt::WindowStaysOnTopHint);

    QTest::mouseDClick(preview.windowHandle(), Qt::LeftButton, {}, QPoint(5, 130));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_EQ(preview.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    EXPECT_TRUE(windows.calls().empty());
}

} // namespace
} // namespace tilemond
