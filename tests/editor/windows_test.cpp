#include "editor/editor_actions.h"
#include "editor_fixture.h"
#include "platform/picture_box.h"
#include "platform/window_geometry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace tilemond {
namespace {

using EditorWindows = EditorTest;

TEST_F(EditorWindows, EditorDesign)
{
    FiltersForm& editor = frmFilters();
    EXPECT_TRUE(editor.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(editor.windowTitle(), "Tessora Tilemond");
    EXPECT_EQ(editor.size(), QSize(278, 191)); // 4170 x 2295 twips
    EXPECT_EQ(editor.palette().color(QPalette::Window), QColor(176, 186, 193));
    EXPECT_EQ(editor.Label3->palette().color(QPalette::Window), QColor(61, 63, 109));
    EXPECT_EQ(editor.TitleBar->pixmap().size(), QSize(280, 20));
    EXPECT_EQ(editor.Image1->pixmap().size(), QSize(24, 16));
    EXPECT_EQ(editor.Command1->geometry(), QRect(40, 50, 33, 31)); // 600, 600, 495, 375
    EXPECT_EQ(editor.Command1->toolTip(), "Add Vertical Cut Marker");
    EXPECT_EQ(editor.Command2->toolTip(), "Add Horizontal Cut Marker");
    EXPECT_EQ(editor.Command5->toolTip(), "Remove Horizontal Marker");
    EXPECT_EQ(editor.Command7->toolTip(), "Remove Vertical Marker");
    EXPECT_EQ(editor.Command8->toolTip(), "Use New Image From File");
    EXPECT_EQ(editor.Command9->toolTip(), "About Tilemond");
    EXPECT_EQ(editor.btHelp->toolTip(), "Tessora Help");
    EXPECT_EQ(editor.chkTable->text(), "Cut Image Into Table Cells.");
    EXPECT_EQ(editor.Label1->text(), "Grid Color :");
    // The work surfaces lie outside the visible client area.
    for (const PictureBox* surface : {editor.Picture1, editor.Picture2, editor.Picture3})
        EXPECT_FALSE(editor.rect().intersects(surface->geometry()));
    EXPECT_EQ(editor.Picture1->ScaleMode(), ScaleUnit::Pixel);
    EXPECT_EQ(editor.Picture3->ScaleMode(), ScaleUnit::Pixel);
}

TEST_F(EditorWindows, PreviewDesign)
{
    PreviewForm& preview = frmPreview();
    EXPECT_EQ(preview.windowTitle(), "Tessora Tilemond");
    EXPECT_EQ(preview.size(), QSize(214, 174)); // client area 3210 x 2085 twips
    QImage plain(preview.size(), QImage::Format_RGB32);
    plain.fill(QColor(224, 224, 224));
    EXPECT_NE(preview.image(), plain);                              // the splash picture shows
    EXPECT_EQ(preview.Hori1[0].geometry(), QRect(71, 0, 32, 391));  // 1065, 0, 480, 4695
    EXPECT_EQ(preview.Vert1[0].geometry(), QRect(0, 182, 361, 22)); // 0, 2190, 5415, 270
    EXPECT_TRUE(preview.Hori1[0].isHidden());
}

TEST_F(EditorWindows, UnloadedWindowsComeBackWithTheirDesignValues)
{
    FiltersForm& editor = frmFilters();
    EXPECT_EQ(&frmFilters(), &editor); // one instance
    click(editor.Command1);
    click(editor.Command2);
    editor.NoGraphic = true;
    editor.chkTable->setChecked(true);
    editor.LColor->setBackColor(Qt::red);
    frmPreview().setWindowTitle("X : 3");
    QPointer<QWidget> oldEditor = &editor;
    EditorOpen = true;

    unloadFrmPreview();
    unloadFrmFilters();
    EXPECT_FALSE(EditorOpen);
    EXPECT_FALSE(isFrmFiltersLoaded());
    destroyUnloaded();
    EXPECT_TRUE(oldEditor.isNull());

    FiltersForm& fresh = frmFilters();
    EXPECT_FALSE(fresh.NoGraphic);
    EXPECT_EQ(fresh.HMarkerLast, -1);
    EXPECT_EQ(fresh.VMarkerLast, -1);
    EXPECT_FALSE(fresh.chkTable->isChecked());
    EXPECT_EQ(fresh.LColor->BackColor(), QColor(0, 128, 128));
    EXPECT_EQ(frmPreview().windowTitle(), "Tessora Tilemond");
    EXPECT_EQ(frmPreview().Hori1.count(), 1);
    EXPECT_TRUE(frmPreview().Hori1[0].isHidden());
}

TEST_F(EditorWindows, ButtonsRunTheInstalledActions)
{
    QStringList ran;
    EditorActions& actions = editorActions();
    actions.split = [&] { ran << "split"; };
    actions.cancel = [&] {
        // Closing both windows from inside the editor's own click handler.
        ran << "cancel";
        unloadFrmPreview();
        unloadFrmFilters();
    };
    FiltersForm& editor = frmFilters();
    click(editor.Command4);
    click(editor.Command9); // no About installed: nothing happens
    click(editor.Command6);
    actions = {};
    EXPECT_EQ(ran, (QStringList{"split", "cancel"}));
    EXPECT_FALSE(isFrmFiltersLoaded());
}

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
