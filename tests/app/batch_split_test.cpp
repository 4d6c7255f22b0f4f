#include "tilemond_run.h"

#include <QImage>
#include <QRegularExpression>

namespace tilemond::app {
namespace {

using BatchSplitTest = TilemondRun;

// The pieces in the page's container, row by row: table rows, or lines ended by <BR>.
QList<QStringList> pieceRows(const QString& page, bool table)
{
    const qsizetype container = page.indexOf("<DIV ID='Tilemond1'");
    const QString markup = page.mid(container, page.indexOf("</DIV>", container) - container);
    const QString separator = table ? QStringLiteral("</TR>") : QStringLiteral("<BR>");
    QList<QStringList> rows;
    const QRegularExpression src(QStringLiteral("<img src=\"([^\"]+)\""));
    for (const QString& row : markup.split(separator).mid(0, markup.count(separator))) {
        QStringList pieces;
        for (auto match = src.globalMatch(row); match.hasNext();)
            pieces << match.next().captured(1);
        rows << pieces;
    }
    return rows;
}

// The picture that the pieces make when laid out as the page lays them out.
QImage reassemble(const QString& folder, const QList<QStringList>& rows)
{
    QList<QList<QImage>> pictures;
    int width = 0;
    int height = 0;
    for (const QStringList& row : rows) {
        pictures.append(QList<QImage>());
        int rowWidth = 0;
        for (const QString& piece : row) {
            pictures.back() << QImage(folder + "/" + piece).convertToFormat(QImage::Format_RGB32);
            rowWidth += pictures.back().back().width();
        }
        width = std::max(width, rowWidth);
        height += pictures.back().isEmpty() ? 0 : pictures.back().front().height();
    }
    QImage whole(width, height, QImage::Format_RGB32);
    whole.fill(Qt::black);
    int y = 0;
    for (const auto& row : pictures) {
        int x = 0;
        for (const QImage& piece : row) {
            for (int py = 0; py < piece.height(); ++py)
                for (int px = 0; px < piece.width(); ++px)
                    whole.setPixel(x + px, y + py, piece.pixel(px, py));
            x += piece.width();
        }
        y += row.isEmpty() ? 0 : row.front().height();
    }
    return whole;
}

TEST_F(BatchSplitTest, TableModeSavesThePageInPlaceWithPiecesThatMakeThePicture)
{
    const Result result = run({"split", "site/index.html", "--image", "0", "--vertical", "400,200",
                               "--horizontal", "100", "--table"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "split banner.png into 6 pieces (3 x 2, table) -> site/index.html\n");

    const QString page = QString::fromUtf8(read("site/index.html"));
    EXPECT_TRUE(page.contains("<TABLE cellspacing='0' cellpadding='0' border='0'><TR><TD><img"));
    EXPECT_FALSE(page.contains("banner.png"));
    EXPECT_TRUE(page.contains("<img src=\"photo.png\" id=\"lighthouse\""));
    const auto rows = pieceRows(page, true);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].size(), 3);
    EXPECT_TRUE(rows[0][0].startsWith("index_files/"));
    EXPECT_EQ(reassemble(path("site"), rows),
              QImage(TILEMOND_EXAMPLES "/banner.png").convertToFormat(QImage::Format_RGB32));
}

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
    EXPECT_EQ(page.count("<BR>"), 3);
    EXPECT_FALSE(page.contains("<TABLE"));
    // The page's other picture comes along, so that the copy shows it too.
    EXPECT_EQ(read("out/deep/banner.png"), read("site/banner.png"));
    const auto rows = pieceRows(page, false);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(reassemble(path("out/deep"), rows),
              QImage(TILEMOND_EXAMPLES "/photo.png").convertToFormat(QImage::Format_RGB32));
}

TEST_F(BatchSplitTest, APictureFileGoesToTheEndOfTheBody)
{
    const Result result =
        run({"split", "site/index.html", "--picture", "site/photo.png", "--vertical", "150"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString page = QString::fromUtf8(read("site/index.html"));
    EXPECT_TRUE(page.contains("<img src=\"banner.png\""));
    EXPECT_TRUE(QRegularExpression("<DIV ID='Tilemond1' NAME='Tilemond1'><img [^>]+><img [^>]+>"
                                   "<BR></DIV>\\s*</body>")
                    .match(page)
                    .hasMatch())
        << page.toStdString();
}

TEST_F(BatchSplitTest, FailuresNameTheFileAndChangeNothing)
{
    QDir().mkpath(path("taken.html"));
    QFile gone(path("site/gone.html"));
    ASSERT_TRUE(gone.open(QIODevice::WriteOnly));
    gone.write("<html><body><p><img src=\"gone.png\"></p></body></html>");
    gone.close();
    struct Case
    {
        QStringList arguments;
        int exitCode;
        QString named;
    } cases[] = {
        {{"split", "site/missing.html", "--image", "0"}, 1, "site/missing.html"},
        {{"split", "site/index.html", "--picture", "site/none.png"}, 1, "site/none.png"},
        {{"split", "site/index.html", "--image", "2"}, 1, "no picture 2"},
        {{"split", "site/gone.html", "--image", "0"}, 1, "gone.png"},
        {{"split", "site/index.html", "--id", "nothere"}, 1, "'nothere'"},
        {{"split", "site/index.html", "--image", "0", "--output", "taken.html"}, 1, "taken.html"},
        {{"split", "site/index.html", "--image", "0", "--output", "site/index.html/x.html"},
         1,
         "site/index.html"},
        {{"split", "site/index.html", "--image", "1", "--vertical", "300"}, 2, "--vertical 300"},
        {{"split", "site/index.html", "--image", "1", "--horizontal", "20,200", "--output",
          "new/x.html"},
         2,
         "--horizontal 200"},
    };
    const auto before = snapshot();
    for (const Case& c : cases) {
        const Result result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.named)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(snapshot(), before) << c.arguments.join(' ').toStdString();
    }
}

TEST_F(BatchSplitTest, RegisterAndUnregisterWriteTheHostsRegistry)
{
    EXPECT_EQ(run({"register"}).exitCode, 0);
    const QString registered = QString::fromUtf8(read("config/registry.ini"));
    EXPECT_TRUE(registered.contains("TessoraTilemond.Connect")) << registered.toStdString();
    EXPECT_TRUE(registered.contains("LoadBehavior=3"));
    EXPECT_EQ(run({"unregister"}).exitCode, 0);
    EXPECT_FALSE(read("config/registry.ini").contains("TessoraTilemond.Connect"));
}

} // namespace
} // namespace tilemond::app
