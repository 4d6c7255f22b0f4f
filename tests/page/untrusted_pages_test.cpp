#include "host/host_fixture.h"
#include "page/page_parse.h"
#include "platform/clipboard_picture.h"

#include <QDir>
#include <QDirIterator>

#include <sys/stat.h>

namespace tilemond::host {
namespace {

using UntrustedPagesTest = HostFixture;

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

TEST_F(UntrustedPagesTest, CopyOfPicturesThatNameNoReadablePictureEndsAtOnceWithoutOne)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.png")).constData(), 0600), 0);
    QImage outside(3, 2, QImage::Format_RGB32);
    outside.fill(Qt::red);
    ASSERT_TRUE(QDir(dir.path()).mkpath("other"));
    ASSERT_TRUE(outside.save(dir.filePath("other/outside.png")));
    ASSERT_TRUE(QDir(dir.path()).mkpath("page"));
    const std::vector<std::string> unreadable = {
        "pipe.png",          "file:///dev/zero", "missing.png",    "http://127.0.0.1:1/a.png",
        "//127.0.0.1/a.png", "a%00b.png",        "\x01\x7f\t.png", "%ff%fe.png",
        "/proc/self/mem"};
    std::string page = "<body>";
    for (const std::string& src : unreadable)
        page += "<img src=\"" + src + "\">";
    page += "<img src=\"../other/outside.png\"></body>";
    pagePath = write("page/index.html", page);
    ASSERT_EQ(host->open(pagePath), Outcome<void>());
    ASSERT_TRUE(QFile::rename(dir.filePath("pipe.png"), dir.filePath("page/pipe.png")));

    for (int i = 0; i < static_cast<int>(unreadable.size()); ++i) {
        SCOPED_TRACE(unreadable[i]);
        SystemClipboard::setPicture(outside);
        selectElement(document()->images()->item(i));
        host->copy();
        EXPECT_TRUE(SystemClipboard::picture().isNull());
    }
    // A picture beside the page's folder is an ordinary local picture.
    selectElement(document()->images()->item(static_cast<int>(unreadable.size())));
    host->copy();
    EXPECT_EQ(SystemClipboard::picture().size(), QSize(3, 2));
    EXPECT_EQ(host->source(), page);
}

TEST_F(UntrustedPagesTest, PiecesGoOnlyIntoTheSavedPagesOwnFolderWhateverThePageSays)
{
    // A page under an odd name that names pieces elsewhere and looks like our own markup.
    const std::string page = "<body><img src=\"../escape_files/image001.png\">"
                             "<img src='/tmp/image001.png' title=\"\x01\xff\">"
                             "<img src=\"we%0Aird%25_files/../../image001.png\"><p>x</p></body>";
    ASSERT_TRUE(QDir(dir.path()).mkpath("in"));
    pagePath = write("in/we\nird%.html", page);
    ASSERT_EQ(host->open(pagePath), Outcome<void>());
    selectElement(document()->all()->tags("P")->item(0));
    for (int i = 0; i < 3; ++i) {
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        SystemClipboard::setPicture(picture);
        host->paste();
    }
    ASSERT_EQ(host->save(), Outcome<void>());
    EXPECT_EQ(filesUnder(dir.path() + "/in"),
              QStringList({"we\nird%.html", "we\nird%_files/image001.png",
                           "we\nird%_files/image002.png", "we\nird%_files/image003.png"}));
    EXPECT_EQ(filesUnder(dir.path()).filter("config/").size(), filesUnder(dir.path()).size() - 4);
    EXPECT_FALSE(QFileInfo::exists("/tmp/image001.png"));
    EXPECT_NE(read(pagePath).find("src=\"we%0Aird%25_files/image003.png\""), std::string::npos)
        << read(pagePath);
}

// The parser's work grows with the open elements at every tag and with the square of a tag's
// attributes: such pages took minutes, or crashed freeing their tree.
TEST_F(UntrustedPagesTest, PagesBeyondTheParsersBoundsAreRefusedAtOnce)
{
    auto repeated = [](const std::string& unit, int times) {
        std::string text;
        for (int i = 0; i < times; ++i)
            text += unit;
        return text;
    };
    std::string attributes;
    for (int i = 0; i < 100000; ++i)
        attributes += " a" + std::to_string(i) + "=1";
    const std::vector<std::pair<std::string, std::string>> pages = {
        {"<body>" + repeated("<span><b><i>", 100000), "its elements nest more than 1024 deep."},
        {"<body>" + repeated("<table><tr><td>", 30000), "its elements nest more than 1024 deep."},
        // The parser keeps the div open: a misplaced end tag closes nothing.
        {"<body>" + repeated("<span><div></span>", 2000), "its elements nest more than 1024 deep."},
        {"<body><img" + attributes + ">", "a tag has more than 1024 attributes."},
        {"<body>" + repeated("<b></b>", 1000000), "it holds more than 1000000 elements."}};
    for (const auto& [page, why] : pages) {
        const QString path = write("deep.html", page);
        EXPECT_EQ(host->open(path),
                  Unexpected("Cannot open the page \"" + QDir::toNativeSeparators(path) +
                             "\": " + QString::fromStdString(why)));
    }
    // Within the bounds, unclosed paragraphs and list items close themselves and what they hold.
    openPage("<body>" + repeated("<div>", 1000) + repeated("<p><li><span>x", 5000) + "<img" +
             attributes.substr(0, 6000) + ">");
    EXPECT_EQ(document()->images()->length(), 1);
}

// Frees a tree deeper than a stack's worth of recursion.
TEST(PageParse, TreesOfAnyDepthAreTakenApart)
{
    std::string page = "<body><svg>";
    for (int i = 0; i < 300000; ++i)
        page += "<g>";
    EXPECT_EQ(parsePage(page).byTag.at("G").size(), 300000u);
}

} // namespace
} // namespace tilemond::host
