#include "host_fixture.h"
#include "platform/clipboard_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QTest>
#include <QUrl>

namespace tilemond::host {
namespace {

class PageClipboardTest : public HostFixture
{
protected:
    static QImage pattern(int width, int height, int seed)
    {
        QImage picture(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, qRgba(x * 40 + seed, y * 60, seed * 3, 255));
        return picture;
    }

    bool runEdit(const char* command)
    {
        return host->commandBars()->item("Edit")->controls()->item(command)->Execute();
    }

    void copyPicture(int index)
    {
        selectElement(document()->images()->item(index));
        ASSERT_TRUE(runEdit("Copy"));
    }
};

// Pictures under a local <base href>: a file by a src with an escape, a file: address, a data:
// address and an SVG drawing.
TEST_F(PageClipboardTest, CopyPutsTheSelectedPicturesPixelsOnTheClipboard)
{
    const QImage inFolder = pattern(5, 4, 1), absolute = pattern(3, 3, 2), own = pattern(4, 3, 5);
    ASSERT_TRUE(QDir(dir.path()).mkpath("pics/my pics"));
    ASSERT_TRUE(inFolder.save(dir.filePath("pics/my pics/a.png")));
    ASSERT_TRUE(absolute.save(dir.filePath("abs.png")));
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(own.save(&buffer, "PNG"));
    QByteArray base64 = png.toBase64();
    base64.insert(8, "\r\n  "); // wrapped, as pages often have it
    const std::string svg = "data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' "
                            "width='6' height='2'%3E%3Crect width='6' height='2' "
                            "fill='%23ff0000'/%3E%3C/svg%3E";
    openPage("<head><base href=\"pics/\"></head><body><img src=\"my%20pics/a.png\"><img src='" +
             QUrl::fromLocalFile(dir.filePath("abs.png")).toString().toStdString() +
             "'><img src=\"data:image/png;base64," + base64.toStdString() + "\"><img src=\"" + svg +
             "\"></body>");

    const QImage expected[] = {inFolder, absolute, own};
    for (int i = 0; i < 3; ++i) {
        copyPicture(i);
        EXPECT_TRUE(samePixels(SystemClipboard::picture(), expected[i])) << "picture " << i;
    }
    copyPicture(3);
    const QImage drawing = SystemClipboard::picture();
    EXPECT_EQ(drawing.size(), QSize(6, 2));
    EXPECT_EQ(drawing.pixel(3, 1), qRgb(255, 0, 0));

    // A pasted picture is named from the base too, so that the page finds it where it is saved.
    ASSERT_TRUE(runEdit("Paste"));
    EXPECT_NE(host->source().find("<img src=\"../index_files/image001.png\""), std::string::npos);
    ASSERT_EQ(host->save(), Outcome<void>());
    EXPECT_TRUE(samePixels(QImage(dir.filePath("index_files/image001.png")), drawing));
}

// Copy gives the picture as the page shows it: scaled to its width and height, one alone keeping
// its shape, its own size without them.
TEST_F(PageClipboardTest, CopyGivesThePictureAtTheSizeThePageShowsIt)
{
    const QImage own = pattern(40, 20, 3);
    ASSERT_TRUE(own.save(dir.filePath("a.png")));
    openPage("<body><img src=a.png width=20 height=10><img src=a.png width=' 80px'>"
             "<img src=a.png height=5><img src=a.png width=50% height=7.5><img src=a.png "
             "width=0><img src=a.png></body>");
    const QSize sizes[] = {{20, 10}, {80, 40}, {10, 5}, {15, 8}, {40, 20}, {40, 20}};
    for (int i = 0; i < 6; ++i) {
        copyPicture(i);
        EXPECT_EQ(SystemClipboard::picture().size(), sizes[i]) << "picture " << i;
    }
}

// A picture that gives no pixels leaves the clipboard empty, and the host says why (the batch
// tests see the same reasons for remote, missing and unreadable pictures).
TEST_F(PageClipboardTest, CopySaysWhyAPictureGivesNoPixels)
{
    openPage("<body><img><img src=\"data:image/png;base64,***\"></body>");
    const QString problems[] = {
        "names no file",
        "is not a picture we can read: its data: address is broken (no comma, or base64 that is "
        "not)",
    };
    for (int i = 0; i < 2; ++i) {
        SystemClipboard::setPicture(pattern(1, 1, 1));
        copyPicture(i);
        EXPECT_TRUE(SystemClipboard::picture().isNull()) << i;
        EXPECT_EQ(host->lastCopy(), Unexpected(problems[i]));
    }

    openPage("<head><base href=\"http://example.com/\"></head><body><img src=a.png></body>");
    write("a.png", "");
    copyPicture(0);
    EXPECT_EQ(host->lastCopy(), Unexpected("is a remote address, which is never fetched"));
}

// Pasting an empty clipboard changes nothing; a picture becomes an img, text is escaped, and the
// pieces are written only on save (their pixels: below), waiting until then in a hidden file
// beside the page that goes when the page is closed unsaved.
TEST_F(PageClipboardTest, PasteMakesAnImgForAPictureAndEscapedTextForText)
{
    openPage("<body><p>a</p>\r\n</body>");
    SystemClipboard::clear();
    ASSERT_TRUE(runEdit("Paste"));
    EXPECT_FALSE(host->hasUnsavedChanges());

    SystemClipboard::setPicture(pattern(3, 2, 4));
    ASSERT_TRUE(runEdit("Paste"));
    QGuiApplication::clipboard()->setText("a<b & c");
    ASSERT_TRUE(runEdit("Paste"));
    EXPECT_EQ(
        host->source(),
        "<body><p>a</p>\r\n<img src=\"index_files/image001.png\" width=\"3\" height=\"2\" "
        "alt=\"\" "
        "style=\"display:inline;vertical-align:top;max-width:none;border:0;margin:0;padding:0\">"
        "a&lt;b &amp; c</body>");
    EXPECT_EQ(selectedText(), "");
    EXPECT_FALSE(QFile::exists(dir.filePath("index_files/image001.png")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return unsavedFiles().size() == 1; }));
    host.reset();
    EXPECT_TRUE(unsavedFiles().isEmpty());
}

// Pasted pictures are kept as their PNG encoding once it is done: more of them than the cores can
// encode at once still copy back and save pixel for pixel.
TEST_F(PageClipboardTest, ManyPastedPicturesCopyBackAndSaveExactly)
{
    openPage("<body></body>");
    std::vector<QImage> pasted;
    for (int n = 0; n < 12; ++n) {
        pasted.push_back(pattern(3 + n, 2, n * 7));
        SystemClipboard::setPicture(pasted.back());
        ASSERT_TRUE(runEdit("Paste"));
    }
    for (int n = 0; n < 12; ++n) {
        copyPicture(n);
        EXPECT_TRUE(samePixels(SystemClipboard::picture(), pasted[n])) << "picture " << n;
    }
    ASSERT_EQ(host->save(), Outcome<void>());
    for (int n = 0; n < 12; ++n)
        EXPECT_TRUE(samePixels(
            QImage(dir.filePath(
                QStringLiteral("index_files/image%1.png").arg(n + 1, 3, 10, QChar('0')))),
            pasted[n]))
            << "file " << n;
}

TEST_F(PageClipboardTest, ClickHandlersRunFirstAndMayCancelTheHostsOwnAction)
{
    openPage("<body></body>");
    SystemClipboard::setPicture(pattern(1, 1, 1));
    const auto paste =
        host->commandBars()->item("Menu Bar")->controls()->item("Edit")->controls()->item("Paste");
    int clicks = 0;
    auto connection = paste->onClick([&](CommandBarControl&, bool& cancelDefault) {
        ++clicks;
        cancelDefault = true;
    });
    ASSERT_TRUE(paste->Execute());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(host->source(), "<body></body>");
    connection.disconnect();
    ASSERT_TRUE(paste->Execute());
    EXPECT_NE(host->source().find("<img src="), std::string::npos);
}

} // namespace
} // namespace tilemond::host
