// The editor's two windows under openbox: where they stand, what closing them does, the focus.
#include "desktop_fixture.h"

#include "marker/cut_marker.h"

#include <QColorDialog>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

namespace tilemond {
namespace {

using EditorWindows = DesktopTest;

// The editor is laid beside the preview while the window manager frames both: on a busy machine
// its reports of earlier sizes, and frames measured before they were done, arrive late.
TEST_F(EditorWindows, OpenedAgainAndAgainOnABusyMachineTheEditorNeverCoversThePreview)
{
    QProcess busy[2];
    for (QProcess& process : busy)
        process.start("sh", {"-c", "while :; do :; done"});
    clickPicture(1);
    for (int open = 0; open < 20; ++open) {
        openEditor();
        const QWidget& preview = frmPreview();
        EXPECT_TRUE(waitFor([&] {
            return !frmFilters().frameGeometry().intersects(preview.geometry());
        })) << "open "
            << open << ": the editor covers the preview";
        frmFilters().Command6->click();
        ASSERT_TRUE(waitFor(editorClosedNow()));
    }
    for (QProcess& process : busy) {
        process.kill();
        process.waitForFinished();
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

TEST_F(EditorWindows, ClosingEitherWindowEndsTheEditingAndTheNextStartsFresh)
{
    clickPicture(0);
    openEditor();
    click(frmFilters().Command1); // a vertical marker
    ASSERT_TRUE(waitFor([] { return frmFilters().VMarkerLast == 0; }));
    clickAt(&frmFilters(), frmFilters().Label10->geometry().topLeft() + QPoint(4, 4));
    ASSERT_TRUE(waitFor([] { return activeForBoth(frmFilters()); }));
    pressKeys("alt+F4");
    ASSERT_TRUE(waitFor(editorClosedNow())) << "Alt+F4 on the editor left it open";

    clickPicture(1);
    openEditor();
    EXPECT_EQ(frmPreview().size(), QSize(320, 220)) << "the preview shows the earlier picture";
    EXPECT_EQ(frmFilters().VMarkerLast, -1);
    clickAt(&frmPreview(), QPoint(150, -10)); // its title bar
    ASSERT_TRUE(waitFor([] { return activeForBoth(frmPreview()); }));
    pressKeys("alt+F4");
    ASSERT_TRUE(waitFor(editorClosedNow())) << "Alt+F4 on the preview left the editor open";
}

// Flung past the picture's edge in one move, a marker stops on the picture's last pixel, not
// short of it nor in the strip beyond, and can be taken there again.
TEST_F(EditorWindows, AMarkerFlungPastThePictureStopsOnItsLastPixelAndCanBeTakenAgain)
{
    clickPicture(0); // 600 x 200
    openEditor();
    click(frmFilters().Command1);
    click(frmFilters().Command2);
    ASSERT_TRUE(
        waitFor([] { return frmFilters().HMarkerLast == 0 && frmFilters().VMarkerLast == 0; }));
    PreviewForm& preview = frmPreview();
    CutMarker& vertical = preview.Hori1[0];
    CutMarker& horizontal = preview.Vert1[0];
    // Flings the marker by this much and waits for it to stop at `stop` (x or y, pixels).
    const auto fling = [&](CutMarker& marker, QPoint by, int stop) {
        const bool across = &marker == &vertical;
        // Clear of the other marker, which crosses this one's handle at the picture's corners.
        const QPoint grab = marker.mapToGlobal(across ? QPoint(4, 40) : QPoint(40, 4));
        xdotool(pointerAt(grab) + QStringList{"mousedown", "1"});
        xdotool(pointerAt(grab + by) + QStringList{"mouseup", "1"});
        EXPECT_TRUE(waitFor([&] {
            return !preview.drag().MarkerDragging() && (across ? marker.x() : marker.y()) == stop;
        })) << "stopped at "
            << (across ? marker.x() : marker.y()) << ", not " << stop;
    };
    fling(vertical, {400, 0}, 599);
    fling(horizontal, {0, 300}, 199);
    fling(horizontal, {0, -300}, 1);
    fling(vertical, {-700, 0}, 1);
}

// A picture larger than the screen: the preview keeps it 1:1 but stays in the work area beside the
// editor and scrolls, by the wheel and by a marker dragged to its edge, which cuts where it is let
// go.
TEST_F(EditorWindows, APictureLargerThanTheScreenScrollsAndAMarkerCutsWhereItIsLetGo)
{
    QImage big(2500, 1800, QImage::Format_RGB32);
    big.fill(Qt::darkCyan);
    ASSERT_TRUE(big.save(pagePath("big.png")));
    QFile page(pagePath("big.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly) &&
                page.write("<p><img src=\"big.png\" width=\"2500\" height=\"1800\"></p>") > 0);
    page.close();
    ASSERT_EQ(host->open(page.fileName()), Outcome<void>());
    window.refreshPage();
    ASSERT_TRUE(waitFor([&] { return !view->loading() && view->pictureInView(0); }));
    clickPicture(0);
    openEditor();
    PreviewForm& preview = frmPreview();
    const QRect room = preview.screen()->availableGeometry();
    const QRect previewOuter = preview.frameGeometry();
    const QRect editorOuter = frmFilters().frameGeometry();
    ASSERT_TRUE(room.contains(previewOuter) && room.contains(editorOuter) &&
                !previewOuter.intersects(editorOuter))
        << "preview " << previewOuter.width() << "x" << previewOuter.height();

    QScrollBar& down = *preview.scrollBar(MarkerKind::Horizontal);
    QScrollBar& across = *preview.scrollBar(MarkerKind::Vertical);
    xdotool(pointerTo(&preview, preview.rect().center()) + QStringList{"click", "5"});
    EXPECT_TRUE(waitFor([&] { return down.value() > 0; })) << "the wheel scrolled nothing";

    click(frmFilters().Command1);
    ASSERT_TRUE(waitFor([] { return frmFilters().VMarkerLast == 0; }));
    CutMarker& marker = preview.Hori1[0];
    const QPoint grab = marker.mapToGlobal(QPoint(4, down.value() + 40));
    const QPoint edge = preview.mapToGlobal(QPoint(preview.width() - 4, preview.height() / 2));
    xdotool(pointerAt(grab) + QStringList{"mousedown", "1"});
    xdotool(pointerAt(edge));
    EXPECT_TRUE(waitFor([&] { return across.value() == across.maximum(); }))
        << "held at the edge, the marker scrolled the view to " << across.value();
    const QPoint letGo = edge - QPoint(100, 0);
    xdotool(pointerAt(letGo) + QStringList{"mouseup", "1"});
    const int pixel = marker.parentWidget()->mapFromGlobal(letGo).x() - 4;
    EXPECT_GT(pixel, 2000);
    ASSERT_TRUE(waitFor([&] { return !preview.drag().MarkerDragging() && marker.x() == pixel; }))
        << "let go at " << pixel << ", the marker stands at " << marker.x();

    click(frmFilters().Command4); // Okay
    ASSERT_TRUE(waitFor(editorClosedNow()));
    const std::string split = host->source();
    EXPECT_NE(split.find("width=\"" + std::to_string(pixel) + "\""), std::string::npos) << split;
    EXPECT_NE(split.find("width=\"" + std::to_string(2500 - pixel) + "\""), std::string::npos);
}

// Tab in the host from picture to picture; the editor above its preview when the preview is
// clicked, where Escape cancels too; then, without a mouse: markers added and moved by keys, the
// editor taking the keys back when chosen again from the host's menu, the colour dialog opened from
// the swatch.
TEST_F(EditorWindows, EscapeCancelsInEitherWindowAndTheKeysAddAndMoveMarkers)
{
    // A dialog runs its own loop: whichever comes up is closed from there.
    bool colourDialog = false;
    QPointer<QWidget> closed;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog == closed || !dialog->isActiveWindow())
            return;
        closed = dialog;
        colourDialog = colourDialog || qobject_cast<QColorDialog*>(dialog);
        pressKeys("Escape");
    });
    look.start(50);

    clickPicture(1);
    pressKeys("Tab"); // in the host: from picture to picture, round the end
    EXPECT_TRUE(waitFor([&] { return window.pageView().selectedPicture() == 0; }));
    pressKeys("shift+Tab");
    EXPECT_TRUE(waitFor([&] { return window.pageView().selectedPicture() == 1; }));
    openEditor();
    PreviewForm* preview = &frmPreview();
    clickAt(preview, QPoint(100, 20));
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == preview; }));
    const WId editor = frmFilters().winId();
    EXPECT_TRUE(waitFor([&] {
        const auto order = stacking();
        return order.indexOf(editor) > order.indexOf(preview->winId());
    })) << "the clicked preview hides the editor";
    pressKeys("Escape");
    EXPECT_TRUE(waitFor(editorClosedNow())) << "Escape in the preview left the editor open";
    if (!editorClosedNow()())
        click(frmFilters().Command6);
    ASSERT_TRUE(waitFor(editorClosedNow()));

    openEditor();
    preview = &frmPreview();
    ASSERT_TRUE(waitFor([] { return QApplication::focusWidget() == frmFilters().Command2; }));
    pressKeys("space");
    ASSERT_TRUE(waitFor([] { return frmFilters().HMarkerLast == 0; }));
    clickPicture(1); // the keys go to the page now
    chooseMenuCommand("Korvi Tessora", "Tessora Tilemond");
    EXPECT_TRUE(waitFor([] { return QApplication::activeWindow() == &frmFilters(); }))
        << "the editor chosen again did not take the keys";
    frmFilters().activateWindow(); // so that the keys below go to the editor whatever came before

    ASSERT_TRUE(waitFor([] { return QApplication::focusWidget() == frmFilters().Command2; }));
    const CutMarker& horizontal = preview->Vert1[0];
    const int y = horizontal.y();
    pressKeys("Down Down shift+Down");
    ASSERT_TRUE(waitFor([&] { return horizontal.y() == y + 12; })) << "the keys moved no marker";
    EXPECT_EQ(preview->windowTitle(), QString("Y : %1").arg(y + 12));
    pressKeys("Tab space"); // the next button adds a vertical marker
    ASSERT_TRUE(waitFor([] { return frmFilters().VMarkerLast == 0; }));
    const CutMarker& vertical = preview->Hori1[0];
    const int x = vertical.x();
    pressKeys("Left shift+Left");
    EXPECT_TRUE(waitFor([&] { return vertical.x() == x - 11; }));

    pressKeys("shift+Tab shift+Tab space"); // the colour swatch
    EXPECT_TRUE(waitFor([&] { return colourDialog && !QApplication::activeModalWidget(); }))
        << "Space on the colour swatch opened no colour dialog";
    pressKeys("Escape");
    EXPECT_TRUE(waitFor(editorClosedNow())) << "Escape in the editor left it open";
}

} // namespace
} // namespace tilemond
