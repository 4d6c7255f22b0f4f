// The editor's two windows under openbox: where they stand, what closing them does, the focus.
#include "desktop_fixture.h"

#include "marker/cut_marker.h"

#include <QScreen>

namespace tilemond {
namespace {

using EditorWindows = DesktopTest;

TEST_F(EditorWindows, ThePreviewShowsTheWholePictureAndTheEditorStandsBesideIt)
{
    for (const auto& [picture, size] : {std::pair{0, QSize(600, 200)}, {1, QSize(300, 200)}}) {
        clickPicture(picture);
        openEditor();
        const PreviewForm& preview = frmPreview();
        // The client: the picture and the strip below it, whatever the frame.
        EXPECT_EQ(preview.size(), size + QSize(0, 20)) << "picture " << picture;
        const QRect previewOuter = preview.frameGeometry();
        const QRect editorOuter = frmFilters().frameGeometry();
        EXPECT_FALSE(previewOuter.intersects(editorOuter))
            << "picture " << picture << ": preview " << previewOuter.x() << "," << previewOuter.y()
            << " " << previewOuter.width() << "x" << previewOuter.height() << ", editor "
            << editorOuter.x() << "," << editorOuter.y();
        const QRect screen = preview.screen()->geometry();
        EXPECT_TRUE(screen.contains(previewOuter) && screen.contains(editorOuter));
        // The keys go to the first add button, framed: a Space pressed by habit adds a marker.
        EXPECT_TRUE(waitFor([] {
            return QApplication::focusWidget() == frmFilters().Command2 &&
                   frmFilters().testAttribute(Qt::WA_KeyboardFocusChange);
        })) << "picture " << picture << ": no framed focus on the first add button";
        pressKeys("space");
        EXPECT_TRUE(waitFor([] { return frmFilters().HMarkerLast == 0; }));
        EXPECT_TRUE(EditorOpen);
        frmFilters().Command6->click();
        ASSERT_TRUE(waitFor(editorClosedNow()));
    }
}

TEST_F(EditorWindows, AnotherProgramClickedKeepsTheFocusAndNoWindowIsMadeAgain)
{
    const QString typed = dir.filePath("typed.txt");
    const qulonglong other = startXterm(typed);
    ASSERT_NE(other, 0u);
    clickPicture(0);
    openEditor();
    const WId editor = frmFilters().winId();
    const WId preview = frmPreview().winId();

    xdotool({"mousemove", "--window", QString::number(other), "--sync", "40", "40", "click", "1"});
    type("typed elsewhere\n");
    EXPECT_TRUE(waitFor([&] {
        QFile file(typed);
        return file.open(QIODevice::ReadOnly) && file.readAll() == "typed elsewhere\n";
    })) << "what the user typed did not reach the other program";
    EXPECT_EQ(focusedWindow(), other);
    EXPECT_EQ(frmFilters().winId(), editor);
    EXPECT_EQ(frmPreview().winId(), preview);

    // Back in the host, both windows stand above it again, the same windows.
    clickAt(&window, QPoint(window.width() / 2, window.height() - 40));
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
    ASSERT_TRUE(waitFor([&] {
        const auto order = stacking();
        return order.indexOf(editor) > order.indexOf(window.winId()) &&
               order.indexOf(preview) > order.indexOf(window.winId());
    }));
    EXPECT_EQ(frmFilters().winId(), editor);
    EXPECT_EQ(frmPreview().winId(), preview);
}

TEST_F(EditorWindows, ClosingEitherWindowOrEscapeEndsTheEditingAndTheNextStartsFresh)
{
    clickPicture(0);
    openEditor();
    click(frmFilters().Command1); // a vertical marker
    ASSERT_TRUE(waitFor([] { return frmFilters().VMarkerLast == 0; }));
    clickAt(&frmFilters(), frmFilters().Label10->geometry().topLeft() + QPoint(4, 4));
    ASSERT_TRUE(waitFor([] { return QApplication::activeWindow() == &frmFilters(); }));
    pressKeys("alt+F4");
    ASSERT_TRUE(waitFor(editorClosedNow())) << "Alt+F4 on the editor left it open";

    clickPicture(1);
    openEditor();
    EXPECT_EQ(frmPreview().size(), QSize(300, 220)) << "the preview shows the earlier picture";
    EXPECT_EQ(frmFilters().VMarkerLast, -1);
    clickAt(&frmPreview(), QPoint(150, -10)); // its title bar
    ASSERT_TRUE(waitFor([] { return QApplication::activeWindow() == &frmPreview(); }));
    pressKeys("alt+F4");
    ASSERT_TRUE(waitFor(editorClosedNow())) << "Alt+F4 on the preview left the editor open";

    openEditor();
    clickAt(&frmFilters(), frmFilters().Label10->geometry().topLeft() + QPoint(4, 4));
    ASSERT_TRUE(waitFor([] { return QApplication::activeWindow() == &frmFilters(); }));
    pressKeys("Escape");
    ASSERT_TRUE(waitFor(editorClosedNow())) << "Escape left the editor open";
}

TEST_F(EditorWindows, AMarkerDraggedDownAsFarAsItGoesStaysInTheWindowAndCanBeTakenAgain)
{
    clickPicture(0);
    openEditor();
    click(frmFilters().Command2); // a horizontal marker, on the preview's centre line
    ASSERT_TRUE(waitFor([] { return frmFilters().HMarkerLast == 0; }));
    const PreviewForm& preview = frmPreview();
    CutMarker& marker = frmPreview().Vert1[0];
    const QPoint handle = marker.mapTo(&preview, QPoint(2, 2));
    xdotool(pointerTo(&preview, handle) << "mousedown"
                                        << "1");
    for (int step = 1; step <= 20; ++step)
        xdotool(pointerTo(&preview, handle + QPoint(0, 8 * step)));
    xdotool({"mouseup", "1"});
    ASSERT_TRUE(waitFor([] { return !frmPreview().drag().MarkerDragging(); }));
    const int bottom = marker.y();
    EXPECT_LT(bottom, frmPreview().height() - 4) << "the marker left the window's client";

    const QPoint again = marker.mapTo(&preview, QPoint(2, 2));
    xdotool(pointerTo(&preview, again) << "mousedown"
                                       << "1");
    xdotool(pointerTo(&preview, again - QPoint(0, 30)) << "mouseup"
                                                       << "1");
    EXPECT_TRUE(waitFor([&] { return marker.y() == bottom - 30; }))
        << "the marker could not be taken again";
}

} // namespace
} // namespace tilemond
