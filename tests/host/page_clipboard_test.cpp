#include "host_fixture.h"
#include "platform/clipboard_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
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

    static bool samePixels(const QImage& a, const QImage& b)
    {
        return !a.isNull() &&
               a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
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

TEST_F(PageClipboardTest, CopyPutsTheSelectedPicturesPixelsOnTheClipboard)
{
    const QImage inFolder = pattern(5, 4, 1);
    ASSERT_TRUE(QDir(dir.path()).mkpath("my pics"));
    ASSERT_TRUE(inFolder.save(dir.filePath("my pics/a.png")));
    const QImage absolute = pattern(3, 3, 2);
    ASSERT_TRUE(absolute.save(dir.filePath("abs.png")));
    const std::string fileUrl =
        QUrl::fromLocalFile(dir.filePath("abs.png")).toString().toStdString();
    openPage("<body><img src=\"my%20pics/a.png\"><img src='" + fileUrl +
             "'><img src=\"http://example.com/a.png\"><img src=missing.png><img></body>");

    copyPicture(0);
    EXPECT_TRUE(samePixels(SystemClipboard::picture(), inFolder));
    copyPicture(1);
    EXPECT_TRUE(samePixels(SystemClipboard::picture(), absolute));
    for (int unreadable : {2, 3, 4}) {
        SystemClipboard::setPicture(absolute);
        copyPicture(unreadable);
        EXPECT_TRUE(SystemClipboard::picture().isNull()) << unreadable;
    }

    QString asked;
    host->setPictureLoader([&](const QString& path, const ShownSize&) {
        asked = path;
        return LoadedPicture{pattern(2, 2, 9), {}};
    });
    copyPicture(0);
    EXPECT_EQ(asked, dir.filePath("my pics/a.png"));
    EXPECT_TRUE(samePixels(SystemClipboard::picture(), pattern(2, 2, 9)));
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
    copyPicture(0);
    EXPECT_TRUE(samePixels(SystemClipboard::picture(),
                           own.scaled(20, 10, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

// Pictures the page shows from a data: address, an SVG drawing, and under a local <base href>.
TEST_F(PageClipboardTest, CopyTakesDataAddressesDrawingsAndPicturesUnderTheBase)
{
    const QImage own = pattern(4, 3, 5);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(own.save(&buffer, "PNG"));
    QByteArray base64 = png.toBase64();
    base64.insert(8, "\r\n  "); // wrapped, as pages often have it
    ASSERT_TRUE(QDir(dir.path()).mkpath("pics"));
    ASSERT_TRUE(own.save(dir.filePath("pics/a.png")));
    const std::string svg = "data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' "
                            "width='6' height='2'%3E%3Crect width='6' height='2' "
                            "fill='%23ff0000'/%3E%3C/svg%3E";
    openPage("<head><base href=\"pics/\"></head><body><img src=\"data:image/png;base64," +
             base64.toStdString() + "\"><img src=\"" + svg + "\"><img src=a.png></body>");

    copyPicture(0);
    EXPECT_TRUE(samePixels(SystemClipboard::picture(), own));
    copyPicture(1);
    const QImage drawing = SystemClipboard::picture();
    EXPECT_EQ(drawing.size(), QSize(6, 2));
    EXPECT_EQ(drawing.pixel(3, 1), qRgb(255, 0, 0));
    copyPicture(2);
    EXPECT_TRUE(samePixels(SystemClipboard::picture(), own));

    // A pasted picture is named from the base too, so that the page finds it where it is saved.
    ASSERT_TRUE(runEdit("Paste"));
    EXPECT_NE(host->source().find("<img src=\"../index_files/image001.png\""), std::string::npos);
    ASSERT_EQ(host->save(), std::nullopt);
    EXPECT_TRUE(samePixels(QImage(dir.filePath("index_files/image001.png")), own));
}

// A picture that gives no pixels leaves the clipboard empty, and the host says why.
TEST_F(PageClipboardTest, CopySaysWhyAPictureGivesNoPixels)
{
    write("notes.png", "just words");
    openPage("<body><img src=\"http://example.com/a.png\"><img src=missing.png>"
             "<img src=notes.png><img><img src=\"data:image/png;base64,***\"></body>");
    const QString folder = QDir::toNativeSeparators(dir.path());
    const QString problems[] = {
        "is a remote address, which is never fetched",
        "cannot be read: no such file (" + folder + "/missing.png)",
        "is not a picture we can read: " + folder + "/notes.png is not a picture in a known format",
        "names no file",
        "is not a picture we can read: its data: address is broken (no comma, or base64 that is "
        "not)",
    };
    for (int i = 0; i < 5; ++i) {
        SystemClipboard::setPicture(pattern(1, 1, 1));
        copyPicture(i);
        EXPECT_TRUE(SystemClipboard::picture().isNull()) << i;
        EXPECT_EQ(host->copyProblem(), problems[i]);
    }

    openPage("<head><base href=\"http://example.com/\"></head><body><img src=a.png></body>");
    write("a.png", "");
    copyPicture(0);
    EXPECT_EQ(host->copyProblem(), "is a remote address, which is never fetched");
}

TEST_F(PageClipboardTest, PasteMakesAnImgWhosePixelsAreWrittenOnSaveUnderFreeNames)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("index_files"));
    write("index_files/image001.png", "taken");
    openPage("<body><p>a</p>\r\n</body>");
    const std::string original = host->source();

    SystemClipboard::clear();
    ASSERT_TRUE(runEdit("Paste"));
    EXPECT_FALSE(host->hasUnsavedChanges());

    const QImage first = pattern(3, 2, 4), second = pattern(6, 5, 8);
    SystemClipboard::setPicture(first);
    ASSERT_TRUE(runEdit("Paste"));
    SystemClipboard::setPicture(second);
    ASSERT_TRUE(runEdit("Paste"));
    QGuiApplication::clipboard()->setText("a<b & c");
    ASSERT_TRUE(runEdit("Paste"));
    const std::string pasted =
        "<img src=\"index_files/image002.png\" width=\"3\" height=\"2\" "
        "alt=\"\" style=\"vertical-align:top;max-width:none;border:0;margin:0;padding:0\">"
        "<img src=\"index_files/image003.png\" width=\"6\" height=\"5\" "
        "alt=\"\" style=\"vertical-align:top;max-width:none;border:0;margin:0;padding:0\">a&lt;b "
        "&amp; c";
    EXPECT_EQ(host->source(), "<body><p>a</p>\r\n" + pasted + "</body>");
    EXPECT_EQ(selectedText(), "");

    // Not yet saved, the pasted picture copies from memory.
    copyPicture(1);
    EXPECT_TRUE(samePixels(SystemClipboard::picture(), second));
    EXPECT_FALSE(QFile::exists(dir.filePath("index_files/image002.png")));

    ASSERT_EQ(host->save(), std::nullopt);
    EXPECT_EQ(read(pagePath), host->source());
    EXPECT_EQ(read(dir.filePath("index_files/image001.png")), "taken");
    EXPECT_TRUE(samePixels(QImage(dir.filePath("index_files/image002.png")), first));
    EXPECT_TRUE(samePixels(QImage(dir.filePath("index_files/image003.png")), second));
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
    ASSERT_EQ(host->save(), std::nullopt);
    for (int n = 0; n < 12; ++n)
        EXPECT_TRUE(samePixels(
            QImage(dir.filePath(
                QStringLiteral("index_files/image%1.png").arg(n + 1, 3, 10, QChar('0')))),
            pasted[n]))
            << "file " << n;
}

TEST_F(PageClipboardTest, APictureCopiedAndPastedElsewhereChangesNoOtherByte)
{
    const QImage photo = pattern(7, 3, 5);
    ASSERT_TRUE(photo.save(dir.filePath("photo.png")));
    const std::string head =
        "<HTML>\r\n<body>\r\n<!-- <img> -->\r\n<p align=center><IMG SRC='photo.png' ALT=x>";
    const std::string tail = "</p>\r\n<p>&nbsp;caf\xe9</p>\r\n</body>\r\n</HTML>\r\n";
    openPage(head + tail);

    copyPicture(0);
    const auto paragraphs = document()->all()->tags("P");
    const auto range = selectionRange();
    ASSERT_TRUE(range->moveToElementText(*paragraphs->item(1)));
    ASSERT_TRUE(range->setEndPoint("EndToStart", *range)); // the start of the second paragraph
    ASSERT_TRUE(range->select());
    ASSERT_TRUE(runEdit("Paste"));
    ASSERT_EQ(host->save(), std::nullopt);

    std::string expected = head + tail;
    expected.insert(expected.find("&nbsp;"),
                    "<img src=\"index_files/image001.png\" width=\"7\" "
                    "height=\"3\" alt=\"\" "
                    "style=\"vertical-align:top;max-width:none;border:0;margin:0;padding:0\">");
    EXPECT_EQ(read(pagePath), expected);
    EXPECT_TRUE(samePixels(QImage(dir.filePath("index_files/image001.png")), photo));
}

TEST_F(PageClipboardTest, ClickHandlersRunFirstAndMayCancelTheHostsOwnAction)
{
    openPage("<body></body>");
    SystemClipboard::setPicture(pattern(1, 1, 1));
    const auto paste =
        host->commandBars()->item("Menu Bar")->controls()->item("Edit")->controls()->item("Paste");
    int clicks = 0;
    auto connection = paste->onClick([&](CommandBarControl& control, bool& cancelDefault) {
        ++clicks;
        EXPECT_EQ(control.caption(), "Paste");
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

namespace tilemond::host {
namespace {

// The add-in's insertion, in table mode: a container at the selection, each
// piece pasted over a placeholder in it and harvested into a table.
void splitIntoTable(PageHost& host, const std::vector<QImage>& pieces)
{
    host.activeDocument()->selection()->createRange()->pasteHTML(
        "<DIV ID='Tilemond1' NAME='Tilemond1'></DIV>");
    const auto container = host.activeDocument()->all()->tags("DIV")->item("Tilemond1");
    std::string table = "<TABLE>";
    for (const QImage& piece : pieces) {
        SystemClipboard::setPicture(piece);
        container->insertAdjacentHTML("BeforeEnd", "<IMG ID='QZInsertPic' NAME='QZInsertPic'>");
        const auto placeholder = host.activeDocument()->all()->tags("IMG")->item("QZInsertPic");
        const auto range = host.activeDocument()->selection()->createRange();
        range->moveToElementText(*placeholder);
        range->select();
        host.commandBars()->item("Edit")->controls()->item("Paste")->Execute();
        table += "<TD>" + container->innerHTML().value_or("") + "</TD>";
        container->setInnerHTML("");
    }
    const auto range = host.activeDocument()->selection()->createRange();
    range->moveToElementText(*container);
    range->select();
    range->pasteHTML(table + "</TABLE>");
}

TEST_F(PageClipboardTest, TwoSplitsInOnePageEachFillTheirOwnContainer)
{
    openPage("<body><img src=a.png><p>between</p><img src=b.png></body>");
    selectElement(document()->images()->item(0));
    splitIntoTable(*host, {pattern(1, 1, 1), pattern(2, 1, 2)});
    selectElement(document()->images()->item(2)); // b.png, after the two pieces
    splitIntoTable(*host, {pattern(3, 1, 3)});
    ASSERT_EQ(host->save(), std::nullopt);

    const std::string container = "<DIV ID='Tilemond1' NAME='Tilemond1'><TABLE><TD>";
    EXPECT_EQ(
        read(pagePath),
        "<body>" + container +
            "<img src=\"index_files/image001.png\" width=\"1\" height=\"1\" "
            "alt=\"\" "
            "style=\"vertical-align:top;max-width:none;border:0;margin:0;padding:0\"></TD><TD>" +
            "<img src=\"index_files/image002.png\" width=\"2\" "
            "height=\"1\" alt=\"\" "
            "style=\"vertical-align:top;max-width:none;border:0;margin:0;padding:0\"></TD></"
            "TABLE></DIV><p>between</p>" +
            container +
            "<img src=\"index_files/image003.png\" width=\"3\" "
            "height=\"1\" alt=\"\" "
            "style=\"vertical-align:top;max-width:none;border:0;margin:0;padding:0\"></TD></"
            "TABLE></DIV></body>");
    EXPECT_TRUE(samePixels(QImage(dir.filePath("index_files/image003.png")), pattern(3, 1, 3)));
}

} // namespace
} // namespace tilemond::host
