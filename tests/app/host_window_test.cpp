#include "app/split_check.h"
#include "host/host_window.h"
#include "host/save_page_dialog.h"
#include "page/pasted_pictures.h"
#include "support/outcome_print.h"
#include "support/picture_quality.h"
#include "view/engine_page_view.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace tilemond::host {
namespace {

class HostWindowTest : public ::testing::Test
{
protected:
    HostWindowTest()
    {
        for (const char* name : {"index.html", "banner.png", "photo.png"})
            QFile::copy(QStringLiteral(TILEMOND_EXAMPLES "/") + name, dir.filePath(name));
        EXPECT_EQ(host.open(dir.filePath("index.html")), Outcome<void>());
        window.refreshPage();
    }

    // The window shows the page as it is now, within the engine's time.
    bool shown()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window) &&
               QTest::qWaitFor([&] { return !view->loading(); }, 20000);
    }
    // Whether the engine comes to paint this point of the view in this colour (it paints a
    // while after it is asked).
    bool paints(QPoint at, const QColor& colour)
    {
        return QTest::qWaitFor([&] { return view->grab().toImage().pixelColor(at) == colour; });
    }

    QTemporaryDir dir;
    PageHost host{dir.filePath("config")};
    view::EnginePageView* view = new view::EnginePageView(host);
    HostWindow window{host, view};
};

TEST_F(HostWindowTest, AClickOnAPictureSelectsAndFramesIt)
{
    ASSERT_TRUE(shown());
    const auto box = view->pictureInView(1);
    ASSERT_TRUE(box);
    QWidget* engine = view->childAt(box->center()); // where the engine takes input
    ASSERT_NE(engine, nullptr);
    QTest::mouseClick(engine, Qt::LeftButton, {}, engine->mapFrom(view, box->center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.pageView().selectedPicture() == 1; }));
    const auto selected = host.activeDocument()->selection()->createRange()->htmlText();
    EXPECT_EQ(
        selected.value_or(""),
        R"(<img src="photo.png" id="lighthouse" width="300" height="200" alt="The lighthouse">)");
    EXPECT_TRUE(paints(box->topLeft() + QPoint(1, 1), view->palette().color(QPalette::Highlight)));
}

// A paste in place of the banner as an add-in's edit: the view and the check of the edit find the
// pasted picture in memory.
TEST_F(HostWindowTest, PastedPicturesShowFromMemoryAndTheViewFollowsUndo)
{
    window.setEditCheck([&](const PageState& before) {
        return app::checkShownSplit(host, before, view->layoutWidth()).said;
    });
    ASSERT_TRUE(shown());
    const QRect banner = view->pictureInView(0).value_or(QRect());
    window.pageView().selectPicture(0);
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(red);
    host.paste();
    host.activeWindow()->Refresh();
    ASSERT_TRUE(shown());
    EXPECT_TRUE(window.windowTitle().startsWith("index.html*"));
    const auto pasted = view->pictureInView(0);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->size(), red.size());
    EXPECT_TRUE(paints(pasted->center(), Qt::red));
    EXPECT_FALSE(QFileInfo::exists(PastedPictures::folderOf(host.pagePath())));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return window.statusBar()->currentMessage().startsWith("differs: ");
    })) << window.statusBar()->currentMessage().toStdString();

    ASSERT_TRUE(host.undo());
    window.refreshPage();
    ASSERT_TRUE(shown());
    EXPECT_EQ(view->pictureInView(0), banner);
    const QPoint inBanner(20, 15);
    EXPECT_TRUE(paints(banner.topLeft() + inBanner,
                       QImage(dir.filePath("banner.png")).pixelColor(inBanner)));
}

// Runs File > Save As and answers its dialog with `answer` once it is open.
void saveAs(PageHost& host, const std::function<void(SavePageDialog&)>& answer)
{
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SavePageDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no Save As dialog";
        answer(*dialog);
    });
    host.commandBars()
        ->item("Menu Bar")
        ->controls()
        ->item("File")
        ->controls()
        ->item("Save As")
        ->Execute();
}

TEST_F(HostWindowTest, SaveAsOffersThePicturesFormatAndRemembersTheChoice)
{
    window.pageView().selectPicture(0);
    const QImage photo = photoLike(60, 40);
    QGuiApplication::clipboard()->setImage(photo);
    host.paste();

    PictureFormat offered;
    saveAs(host, [&](SavePageDialog& dialog) {
        offered = dialog.pictureFormat();
        auto* type = dialog.findChild<QComboBox*>("pictureType");
        type->setCurrentIndex(type->findText("JPEG"));
        dialog.findChild<QSpinBox*>("pictureQuality")->setValue(70);
        dialog.selectFile(dir.filePath("copy.html"));
        static_cast<QDialog&>(dialog).accept(); // as its Save button does
    });
    EXPECT_EQ(offered, PictureFormat{});
    ASSERT_EQ(host.pagePath(), dir.filePath("copy.html"));
    const std::string& page = host.source();
    const std::size_t src = page.find("copy_files/image001.jpg");
    ASSERT_NE(src, std::string::npos) << page;
    QImageReader piece(dir.filePath("copy_files/image001.jpg"));
    EXPECT_EQ(piece.format(), "jpeg");
    EXPECT_GE(psnr(photo, piece.read()), 30);

    // The next run of the desktop offers the same.
    PageHost next{dir.filePath("config")};
    ASSERT_EQ(next.open(dir.filePath("copy.html")), Outcome<void>());
    HostWindow nextWindow{next, new view::EnginePageView(next)};
    saveAs(next, [&](SavePageDialog& dialog) {
        offered = dialog.pictureFormat();
        dialog.reject();
    });
    EXPECT_EQ(offered, (PictureFormat{PictureType::Jpeg, 70}));
}

} // namespace
} // namespace tilemond::host
