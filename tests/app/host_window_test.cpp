#include "app/add_in_setup.h"
#include "host/host_window.h"
#include "host/page_view.h"
#include "host/picture_format_setting.h"
#include "host/save_page_dialog.h"
#include "platform/registry.h"
#include "support/picture_quality.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenuBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
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
        EXPECT_EQ(host.open(dir.filePath("index.html")), std::nullopt);
        window.refreshPage();
    }

    QStringList menuTitles()
    {
        QStringList titles;
        for (QAction* action : window.menuBar()->actions())
            titles << action->text();
        return titles;
    }

    // A point of the view's viewport that shows picture n.
    QPoint pictureAt(int n)
    {
        const auto* layout = window.pageView().document()->documentLayout();
        const QString name = QStringLiteral("page-picture:%1").arg(n);
        for (int y = 0; y < window.pageView().viewport()->height(); y += 10)
            for (int x = 0; x < window.pageView().viewport()->width(); x += 10)
                if (layout->imageAt(QPointF(x, y)) == name)
                    return QPoint(x, y);
        ADD_FAILURE() << "picture " << n << " is not in sight";
        return {};
    }

    QTemporaryDir dir;
    PageHost host{dir.filePath("config")};
    HostWindow window{host};
};

// A broken or missing add-in library: the host says which and why, and edits pages without it.
TEST_F(HostWindowTest, AddInLibraryThatCannotBeLoadedIsNamedAndLeavesNoMenu)
{
    Registry::setConfigFolder(dir.filePath("registry"));
    QFile broken(dir.filePath("libtilemond_addin.so"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a library");
    broken.close();
    for (const QString& library : {broken.fileName(), dir.filePath("gone/libtilemond_addin.so")}) {
        AddInLoader loader(ApplicationPtr(ApplicationPtr(), &host));
        const QStringList errors = app::connectAddIns(loader, library);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith("The Tessora Tilemond add-in cannot be loaded") &&
                    errors[0].contains(library))
            << errors[0].toStdString();
        window.rebuildMenus();
        EXPECT_EQ(menuTitles(), (QStringList{"&File", "&Edit"}));
    }
    Registry::setConfigFolder({});
}

TEST_F(HostWindowTest, MenusFollowTheMenuBarCommandBarWithAddInPopupsLast)
{
    EXPECT_EQ(menuTitles(), (QStringList{"&File", "&Edit"}));
    const auto menuBar = host.commandBars()->item("Menu Bar");
    const auto popup = menuBar->controls()->add(ControlType::Popup, {}, {}, {}, true);
    popup->setCaption("Korvi Tessora");
    popup->controls()->add(ControlType::Button, {}, {}, {}, true)->setCaption("Tessora Tilemond");
    window.rebuildMenus();
    // Alt+letters of their own.
    EXPECT_EQ(menuTitles(), (QStringList{"&File", "&Edit", "&Korvi Tessora"}));
    const QMenu* added = window.menuBar()->actions().back()->menu();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->actions().front()->text(), "&Tessora Tilemond");
}

TEST_F(HostWindowTest, TheApplicationsActivationRaisesTheHostsWindowEvents)
{
    QStringList raised;
    const auto activated = host.onWindowActivate([&](PageWindow*) { raised << "activate"; });
    const auto deactivated = host.onWindowDeactivate([&](PageWindow*) { raised << "deactivate"; });
    for (const auto state : {Qt::ApplicationActive, Qt::ApplicationActive, Qt::ApplicationInactive,
                             Qt::ApplicationHidden, Qt::ApplicationActive})
        emit qGuiApp->applicationStateChanged(state);
    EXPECT_EQ(raised, (QStringList{"activate", "deactivate", "activate"}));
}

TEST_F(HostWindowTest, AClickOnAPictureSelectsAndFramesIt)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.pageView().viewport(), Qt::LeftButton, {}, pictureAt(1));
    EXPECT_EQ(window.pageView().selectedPicture(), 1);
    const auto selected = host.activeDocument()->selection()->createRange()->htmlText();
    EXPECT_EQ(
        selected.value_or(""),
        R"(<img src="photo.png" id="lighthouse" width="300" height="200" alt="The lighthouse">)");

    const QImage framed = window.pageView()
                              .document()
                              ->resource(QTextDocument::ImageResource, QUrl("page-picture:1"))
                              .value<QImage>();
    EXPECT_EQ(framed.pixelColor(1, 1), window.pageView().palette().color(QPalette::Highlight));
}

TEST_F(HostWindowTest, RefreshShowsPastedPicturesAndUnsavedChangesAreAskedAbout)
{
    window.pageView().selectPicture(0);
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(red);
    host.paste();
    host.activeWindow()->Refresh();
    const QImage pasted = window.pageView()
                              .document()
                              ->resource(QTextDocument::ImageResource, QUrl("page-picture:0"))
                              .value<QImage>();
    EXPECT_EQ(pasted.pixelColor(20, 15), QColor(Qt::red));
    EXPECT_TRUE(window.windowTitle().startsWith("index.html*"));

    QStringList asked;
    auto answer = QMessageBox::Cancel;
    window.setSaveQuestion([&](const QString& page) {
        asked << page;
        return answer;
    });
    window.show();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    answer = QMessageBox::Discard;
    EXPECT_TRUE(window.close());
    EXPECT_EQ(asked, (QStringList{"index.html", "index.html"}));
}

// Rows of pieces thinner than a line of text, in a box of no line height as a split into lines
// leaves them: the view shows them together without a gap, as a browser does.
TEST_F(HostWindowTest, ThinRowsOfPiecesInABoxOfNoLineHeightShowWithoutGaps)
{
    QImage picture(60, 12, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 4, 40 + y * 17, 200 - x));
    QByteArray page = "<html><body><p>Text before</p><DIV ID='Tilemond1' NAME='Tilemond1' "
                      "STYLE='line-height:0;white-space:nowrap'>";
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 30) {
            const QString name = QStringLiteral("piece_%1_%2.png").arg(x).arg(y);
            ASSERT_TRUE(picture.copy(x, y, 30, 3).save(dir.filePath(name)));
            page += "<img src=\"" + name.toUtf8() +
                    "\" width=\"30\" height=\"3\" style=\"vertical-align:top\">";
        }
        page += "<BR>";
    }
    page += "</DIV><p>Text after</p></body></html>";
    QFile file(dir.filePath("pieces.html"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(page);
    file.close();
    ASSERT_EQ(host.open(file.fileName()), std::nullopt);
    window.refreshPage();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QImage shown =
        window.pageView().viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    bool whole = false;
    for (int y = 0; !whole && y + picture.height() <= shown.height(); ++y)
        for (int x = 0; !whole && x + picture.width() <= shown.width(); ++x)
            whole = shown.pixel(x, y) == picture.pixel(0, 0) &&
                    shown.copy(x, y, picture.width(), picture.height()) == picture;
    EXPECT_TRUE(whole) << "the pieces do not make up the picture in the view";
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
    EXPECT_GE(psnr(photo, photo.rect(), piece.read()), 30);

    // The next run of the desktop offers the same.
    PageHost next{dir.filePath("config")};
    ASSERT_EQ(next.open(dir.filePath("copy.html")), std::nullopt);
    HostWindow nextWindow{next};
    saveAs(next, [&](SavePageDialog& dialog) {
        offered = dialog.pictureFormat();
        dialog.reject();
    });
    EXPECT_EQ(offered, (PictureFormat{PictureType::Jpeg, 70}));
    EXPECT_EQ(rememberedPictureFormat(dir.filePath("config")), offered);
}

} // namespace
} // namespace tilemond::host
