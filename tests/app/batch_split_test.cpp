#include "tilemond_run.h"

#include <QImage>
#include <QRegularExpression>

#include <tuple>

namespace tilemond::app {
namespace {

using BatchSplitTest = TilemondRun;

TEST_F(BatchSplitTest, LineModeIntoANewFolderLeavesThePageUntouched)
{
    const auto before = snapshot();
    const Result result = run({"split", "site/index.html", "--id", "lighthouse", "--vertical=100",
                               "--horizontal", "150,50", "--output", "out/deep/page.html"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "split photo.png into 6 pieces (2 x 3, lines) -> out/deep/page.html\n");

    auto after = snapshot();
    for (auto file = after.begin(); file != after.end();)
        file = file.key().startsWith("out") ? after.erase(file) : std::next(file);
    EXPECT_EQ(after, before);

    const QString page = QString::fromUtf8(read("out/deep/page.html"));
    // The page's other picture comes along, so that the copy shows it too.
    EXPECT_EQ(read("out/deep/banner.png"), read("site/banner.png"));
    EXPECT_EQ(page.count("<BR>"), 3);
}

TEST_F(BatchSplitTest, APictureFileGoesToTheEndOfTheBody)
{
    const Result result =
        run({"split", "site/index.html", "--picture", "site/photo.png", "--vertical", "150"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString page = QString::fromUtf8(read("site/index.html"));
    EXPECT_TRUE(page.contains("<img src=\"banner.png\""));
    EXPECT_TRUE(QRegularExpression("<DIV ID='Tilemond1' NAME='Tilemond1' STYLE='[^']+'><img [^>]+>"
                                   "<img [^>]+><BR></DIV>\\s*</body>")
                    .match(page)
                    .hasMatch())
        << page.toStdString();
}

// A failure names what failed (a picture that cannot be taken says why, by its address) and
// changes nothing.
TEST_F(BatchSplitTest, FailuresNameTheFileAndChangeNothing)
{
    QDir().mkpath(path("taken.html"));
    writeFile("site/small.html", "<body><img src=banner.png width=300></body>");
    writeFile("site/notes.png", "just words");
    writeFile("site/bad.html",
              "<body><img src=\"http://example.com/a.png\"><img src=\"missing.png\">"
              "<img src=\"notes.png\"><img src=\"data:image/png;base64,iVBORw0KGgo=\"></body>");
    const QString folder = QDir::toNativeSeparators(QFileInfo(path("site")).absoluteFilePath());
    const QString bad = "tilemond: site/bad.html: the picture ";
    const std::tuple<QStringList, int, QString> cases[] = {
        {{"split", "site/missing.html", "--image", "0"}, 1, "site/missing.html"},
        {{"split", "site/index.html", "--picture", "site/none.png"}, 1, "site/none.png"},
        {{"split", "site/index.html", "--id", "nothere"}, 1, "'nothere'"},
        {{"split", "site/index.html", "--image", "0", "--output", "taken.html"}, 1, "taken.html"},
        {{"split", "site/index.html", "--image", "1", "--vertical", "300"}, 2, "--vertical 300"},
        {{"split", "site/index.html", "--image", "1", "--horizontal", "20,200", "--output",
          "new/x.html"},
         2,
         "--horizontal 200"},
        // A picture the page shows at another size is cut in its shown pixels.
        {{"split", "site/small.html", "--image", "0", "--vertical", "400"},
         2,
         "--vertical 400 is not inside the picture (300 x 100 pixels)"},
        {{"split", "site/bad.html", "--image", "0"},
         1,
         bad + "\"http://example.com/a.png\" is a remote address, which is never fetched.\n"},
        {{"split", "site/bad.html", "--image", "1"},
         1,
         bad + "\"missing.png\" cannot be read: no such file (" + folder + "/missing.png).\n"},
        {{"split", "site/bad.html", "--image", "2"},
         1,
         bad + "\"notes.png\" is not a picture we can read: " + folder +
             "/notes.png is not a picture in a known format.\n"},
        {{"split", "site/bad.html", "--image", "3"},
         1,
         bad + "data:image/png;base64,… is not a picture we can read: its data: address is "
               "damaged: its header cannot be read.\n"},
    };
    const auto before = snapshot();
    for (const auto& [arguments, exitCode, named] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(named)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(snapshot(), before) << arguments.join(' ').toStdString();
    }
}

// Every piece the page names, as it is on disk, in page order.
QList<QImage> pieceFiles(const QString& folder, const QString& page)
{
    QList<QImage> pieces;
    const QRegularExpression src(QStringLiteral("<img src=\"([^\"]+_files/[^\"]+)\""));
    for (auto match = src.globalMatch(page); match.hasNext();)
        pieces << QImage(folder + "/" + match.next().captured(1));
    return pieces;
}

// A picture is cut at the size a browser shows it, whatever sizes it: a percentage, a style
// sheet, a style attribute.
TEST_F(BatchSplitTest, PicturesAreCutAtTheSizeABrowserShowsThem)
{
    writeFile("site/styled.html",
              "<head><style>body{margin:0} .column{width:750px} .column img{max-width:100%}"
              "</style></head><body><img src=banner.png width=80%>"
              "<div class=column><img src=photo.png width=900 height=600></div>"
              "<img src=banner.png style='width:200px;height:100px'></body>");
    const char* shown[] = {"(800 x 267 pixels)", "(750 x 600 pixels)", "(200 x 100 pixels)"};
    for (int image = 0; image < 3; ++image) {
        const Result result = run({"split", "site/styled.html", "--image", QString::number(image),
                                   "--vertical", "5000", "--viewport", "1000"});
        EXPECT_TRUE(result.err.contains(shown[image])) << result.err.toStdString();
    }
}

// The split checks its own result in the browser engine: a page that shows the picture as before
// is seamless, pieces that lost much of it (JPEG at quality 5) are a failure under --verify.
TEST_F(BatchSplitTest, TheSplitChecksHowThePageShowsThePictureAfterIt)
{
    Result result = run({"split", "site/index.html", "--image", "0", "--vertical", "200,400",
                         "--horizontal", "100", "--table", "--check"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.endsWith(
        "check: seamless: the page shows the picture's 600 x 200 pixels as before\n"))
        << result.out.toStdString();
    result = run({"split", "site/index.html", "--id", "lighthouse", "--vertical", "100", "--format",
                  "jpeg", "--quality", "5", "--verify"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("check: differs: 60000 of the picture's 300 x 200 pixels"))
        << result.err.toStdString();
}

// An SVG drawing, a data: address and a picture under a local <base href> split like any other.
TEST_F(BatchSplitTest, DrawingsDataAddressesAndPicturesUnderTheBaseSplit)
{
    writeFile("site/drawing.svg",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"20\">"
              "<rect width=\"20\" height=\"20\" fill=\"#00ff00\"/></svg>");
    QFile png(TILEMOND_EXAMPLES "/photo.png");
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    QDir().mkpath(path("site/pages"));
    writeFile("site/pages/kinds.html",
              "<head><base href=\"../\"></head><body><img src=\"drawing.svg\" width=80>"
              "<img src=\"data:image/png;base64," +
                  png.readAll().toBase64() + "\"><img src=banner.png></body>");

    Result result = run({"split", "site/pages/kinds.html", "--image", "0", "--vertical", "40"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              "split drawing.svg into 2 pieces (2 x 1, lines) -> site/pages/kinds.html\n");
    QString page = QString::fromUtf8(read("site/pages/kinds.html"));
    // Named from the base, as the page's other pictures are.
    QList<QImage> pieces = pieceFiles(path("site"), page);
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_EQ(pieces[0].size(), QSize(40, 40));
    EXPECT_EQ(pieces[0].pixel(20, 20), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(pieces[1].pixel(20, 20)), 0);

    result = run({"split", "site/pages/kinds.html", "--image", "2", "--horizontal", "100"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(
        result.out,
        "split data:image/png;base64,… into 2 pieces (1 x 2, lines) -> site/pages/kinds.html\n");
    result = run({"split", "site/pages/kinds.html", "--image", "4", "--vertical", "300"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    page = QString::fromUtf8(read("site/pages/kinds.html"));
    EXPECT_FALSE(page.contains("data:image/png"));
    EXPECT_FALSE(page.contains("banner.png"));
}

} // namespace
} // namespace tilemond::app
