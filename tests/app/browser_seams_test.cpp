#include "support/picture_quality.h"
#include "tilemond_run.h"

#include <QColorSpace>
#include <QImage>
#include <QStandardPaths>
#include <QUrl>

#include <functional>
#include <numeric>
#include <optional>

// The split's result as a reader sees it: headless Chromium renders the page before and after
// `tilemond split`, and the screen area where the picture stood must hold the picture unchanged.
namespace tilemond::app {
namespace {

constexpr QPoint PictureAt(13, 17);
constexpr QSize PictureSize(300, 120);
constexpr QSize Window(360, 180);

struct SeamCase
{
    const char* name;
    bool table;
    bool standards;
    bool thin; // rows thinner than a line of text
};

void PrintTo(const SeamCase& seam, std::ostream* out)
{
    *out << seam.name;
}

// Every pixel differs from its neighbours, so that a piece one pixel off shows.
QImage testPicture()
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x * 3 + y * 5) % 256));
    return picture;
}

QStringList cutsEvery(int step, int extent)
{
    QStringList cuts;
    for (int at = step; at < extent; at += step)
        cuts << QString::number(at);
    return cuts;
}

// Where the picture differs from the screenshot's area at PictureAt; empty when it does not.
QString difference(const QImage& screenshot, const QImage& picture, int rows)
{
    const QImage area =
        screenshot.copy(QRect(PictureAt, picture.size())).convertToFormat(QImage::Format_RGB32);
    int wrong = 0;
    QPoint first;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (area.pixel(x, y) != picture.pixel(x, y) && wrong++ == 0)
                first = QPoint(x, y);
    if (wrong == 0)
        return QString();
    return QStringLiteral("%1 pixels differ, the first at (%2, %3)")
        .arg(wrong)
        .arg(first.x())
        .arg(first.y());
}

class BrowserSeams : public TilemondRun, public ::testing::WithParamInterface<SeamCase>
{
protected:
    void SetUp() override
    {
        m_chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (m_chromium.isEmpty() && qEnvironmentVariableIsEmpty("CI"))
            GTEST_SKIP() << "chromium is not installed (apt-get install chromium): the pages "
                            "were not rendered";
        ASSERT_FALSE(m_chromium.isEmpty()) << "chromium is not installed";
    }

    void writePage(const QString& name, bool standards) const
    {
        QFile page(path(name));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write(standards ? "<!DOCTYPE html>\n" : "");
        page.write(
            "<html><head><meta charset=\"utf-8\"></head>\n"
            "<body style=\"margin:0;background:#ff00ff\">\n"
            "<div style=\"position:absolute;left:13px;top:17px\">"
            "<img src=\"picture.png\" width=\"300\" height=\"120\"></div>\n</body></html>\n");
    }

    QImage screenshot(const QString& page)
    {
        const QString shot = path(page + ".shot.png");
        QProcess chromium;
        chromium.start(
            m_chromium,
            {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--force-device-scale-factor=1", "--hide-scrollbars",
             "--user-data-dir=" + path("chromium-profile-" + page), "--screenshot=" + shot,
             QStringLiteral("--window-size=%1,%2").arg(Window.width()).arg(Window.height()),
             QUrl::fromLocalFile(path(page)).toString()});
        if (!chromium.waitForFinished(90000))
            chromium.kill();
        return QImage(shot);
    }

private:
    QString m_chromium;
};

TEST_P(BrowserSeams, PiecesStandExactlyWhereThePictureStood)
{
    const SeamCase seam = GetParam();
    const QImage picture = testPicture();
    ASSERT_TRUE(picture.save(path("picture.png")));
    writePage("before.html", seam.standards);

    const QImage before = screenshot("before.html");
    ASSERT_FALSE(before.isNull()) << "chromium made no screenshot";
    ASSERT_EQ(difference(before, picture, picture.height()), QString())
        << "the picture itself is not where the page puts it";

    // Each axis has a doubled cut: a column and a row without pixels, which show nothing.
    QStringList rows = cutsEvery(seam.thin ? 3 : 40, PictureSize.height());
    rows << rows.first();
    QStringList arguments = {"split",        path("before.html"), "--image",  "0",
                             "--vertical",   "100,200,100",       "--output", path("after.html"),
                             "--horizontal", rows.join(',')};
    if (seam.table)
        arguments << "--table";
    const Result split = run(arguments);
    ASSERT_EQ(split.exitCode, 0) << split.err.toStdString();

    const QImage after = screenshot("after.html");
    ASSERT_FALSE(after.isNull()) << "chromium made no screenshot";
    EXPECT_EQ(difference(after, picture, picture.height()), QString());
}

INSTANTIATE_TEST_SUITE_P(Pages, BrowserSeams,
                         ::testing::Values(SeamCase{"TableStandardsOrdinary", true, true, false},
                                           SeamCase{"TableStandardsThin", true, true, true},
                                           SeamCase{"TableQuirksOrdinary", true, false, false},
                                           SeamCase{"TableQuirksThin", true, false, true},
                                           SeamCase{"LinesStandardsOrdinary", false, true, false},
                                           SeamCase{"LinesStandardsThin", false, true, true},
                                           SeamCase{"LinesQuirksOrdinary", false, false, false},
                                           SeamCase{"LinesQuirksThin", false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Pages of our own for the cases below: the picture at PictureAt in a page of this head.
class BrowserPages : public BrowserSeams
{
protected:
    // `img` stands in a box at PictureAt.
    void writePage(const QString& name, const QByteArray& style, const QByteArray& img) const
    {
        QFile page(path(name));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><style>body{margin:0;"
                   "background:repeating-linear-gradient(45deg,#ff00ff 0 7px,#00ffff 7px 14px)}" +
                   style +
                   "</style></head>\n<body>\n<div style=\"position:absolute;left:13px;"
                   "top:17px\">" +
                   img + "</div>\n</body></html>\n");
    }

    // The test picture saved as picture.png.
    QImage savedPicture() const
    {
        const QImage picture = testPicture();
        EXPECT_TRUE(picture.save(path("picture.png")));
        return picture;
    }

    // Splits `page` into lines and then into a table into after-`page`, and hands `check` each
    // result's screenshot.
    void splitBoth(const QString& page, const QStringList& vertical, const QStringList& horizontal,
                   const std::function<void(const QImage&)>& check, const QStringList& more = {})
    {
        for (const bool table : {false, true}) {
            SCOPED_TRACE(table ? "table" : "lines");
            const Result result = split(page, table, vertical, horizontal, more);
            ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
            check(screenshot("after-" + page));
        }
    }

    Result split(const QString& page, bool table, const QStringList& vertical,
                 const QStringList& horizontal, const QStringList& more = {}) const
    {
        QStringList arguments =
            QStringList{"split",      path(page),           "--image",      "0",
                        "--vertical", vertical.join(','),   "--horizontal", horizontal.join(','),
                        "--output",   path("after-" + page)} +
            more;
        if (table)
            arguments << "--table";
        return run(arguments);
    }

    // The screen area of `size` at PictureAt.
    static QImage area(const QImage& screenshot, QSize size)
    {
        return screenshot.copy(QRect(PictureAt, size)).convertToFormat(QImage::Format_RGB32);
    }

    // Where the whole picture shows in the screenshot, unbroken; none when it does not.
    static std::optional<QPoint> whereShown(const QImage& screenshot, const QImage& picture)
    {
        const QImage shot = screenshot.convertToFormat(QImage::Format_RGB32);
        const QPoint probe(1, 1); // a colour that no text or background has
        for (int y = 0; y + picture.height() <= shot.height(); ++y)
            for (int x = 0; x + picture.width() <= shot.width(); ++x)
                if (shot.pixel(x + probe.x(), y + probe.y()) == picture.pixel(probe) &&
                    shot.copy(QRect(QPoint(x, y), picture.size())) == picture)
                    return QPoint(x, y);
        return std::nullopt;
    }
};

// In a box narrower than the picture, a line of pieces stays one line and the table stays whole.
TEST_F(BrowserPages, ABoxNarrowerThanThePictureBreaksNoRow)
{
    const QImage picture = savedPicture();
    writePage("narrow.html", "body>div{width:150px}", "<img src=\"picture.png\">");
    ASSERT_EQ(difference(screenshot("narrow.html"), picture, PictureSize.height()), QString());
    splitBoth("narrow.html", cutsEvery(50, 300), cutsEvery(40, 120), [&](const QImage& after) {
        EXPECT_EQ(difference(after, picture, PictureSize.height()), QString());
    });
}

// A picture within a line of text: the container is a block, so the pieces move below the text
// before them, but they stand there whole and without a gap.
TEST_F(BrowserPages, APictureInTextComesOutWholeBelowTheTextBeforeIt)
{
    const QImage picture = savedPicture();
    writePage("text.html", "p{margin:0;font:16px sans-serif;color:#000}",
              "<p>Some text <img src=\"picture.png\"> more text</p>");
    const std::optional<QPoint> before = whereShown(screenshot("text.html"), picture);
    ASSERT_TRUE(before) << "the picture does not show whole in the page";

    splitBoth("text.html", {"100", "200"}, cutsEvery(3, 120), [&](const QImage& shot) {
        const std::optional<QPoint> after = whereShown(shot, picture);
        ASSERT_TRUE(after) << "the pieces do not make up the picture anywhere";
        // At the box's left edge, below the line of text.
        EXPECT_EQ(after->x(), PictureAt.x());
        EXPECT_GT(after->y(), PictureAt.y() + 10);
    });
}

// See-through pixels of every degree: the page's background shows through the pieces exactly
// where and as much as it showed through the picture.
TEST_F(BrowserPages, TheBackgroundShowsThroughThePiecesAsThroughThePicture)
{
    QImage picture(PictureSize, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgba(x * 7 % 256, y * 13 % 256, 60, (x * 3 + y * 11) % 256));
    ASSERT_TRUE(picture.save(path("alpha.png")));
    writePage("alpha.html", "", "<img src=\"alpha.png\">");
    const QImage before = area(screenshot("alpha.html"), PictureSize);
    ASSERT_FALSE(before.isNull()) << "chromium made no screenshot";

    splitBoth("alpha.html", cutsEvery(100, 300), cutsEvery(40, 120), [&](const QImage& after) {
        EXPECT_EQ(difference(after, before, PictureSize.height()), QString());
    });
}

// A picture the page scales stands as large as before, its pieces within a small error of the
// browser's own scaling (their filters differ).
TEST_F(BrowserPages, AScaledPictureStandsAsTheBrowserScaledIt)
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             qRgb(x * 255 / 299, y * 255 / 119, (x + y) % 64 < 32 ? 40 : 200));
    ASSERT_TRUE(picture.save(path("big.png")));
    writePage("scaled.html", "", "<img src=\"big.png\" width=\"170\">");
    const QSize shown(170, 68);
    const QImage before = area(screenshot("scaled.html"), shown + QSize(1, 1));
    ASSERT_FALSE(before.isNull()) << "chromium made no screenshot";

    const Result result = split("scaled.html", true, {"50", "101"}, {"30"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QImage after = area(screenshot("after-scaled.html"), shown + QSize(1, 1));
    double total = 0;
    int largest = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = after.pixel(x, y), b = before.pixel(x, y);
            for (const int d : {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)}) {
                total += std::abs(d);
                largest = std::max(largest, std::abs(d));
            }
        }
    // Measured: 0.44 on average, 45 at most (along the stripes' edges).
    const double mean = total / (shown.width() * shown.height() * 3);
    EXPECT_LT(mean, 2.0) << "the largest difference is " << largest;
    // Nothing of the page's background within the area, nor the picture beyond it.
    EXPECT_EQ(after.pixel(shown.width(), 10), before.pixel(shown.width(), 10));
}

// JPEG pieces as the browser shows them: within the error of the format everywhere, and no column
// or row along a cut with more of it, as a piece one pixel off or a blurred edge would leave.
TEST_F(BrowserPages, JpegPiecesStandWithinTheirErrorAndWithoutSeams)
{
    const QImage picture = photoLike(PictureSize.width(), PictureSize.height());
    ASSERT_TRUE(picture.save(path("photo.png")));
    writePage("photo.html", "", "<img src=\"photo.png\">");
    const auto check = [&](const QImage& shot) {
        const QImage after = area(shot, PictureSize);
        ASSERT_FALSE(after.isNull()) << "chromium made no screenshot";
        EXPECT_GE(psnr(picture, picture.rect(), after), 38);
        for (int x = 0; x < PictureSize.width(); ++x)
            EXPECT_GE(psnr(picture, QRect(x, 0, 1, PictureSize.height()), after), 35)
                << "column " << x;
        for (int y = 0; y < PictureSize.height(); ++y)
            EXPECT_GE(psnr(picture, QRect(0, y, PictureSize.width(), 1), after), 35) << "row " << y;
    };
    splitBoth("photo.html", {"100", "201"}, {"40", "83"}, check,
              {"--format", "jpeg", "--quality", "90"});
}

// A style sheet that squeezes and pads pictures and table cells: the pieces resist what is set on
// them (max-width, border, margin, padding), so lines of pieces stay seamless; a cell's padding
// and border cannot be undone from the piece, so the table's pieces stand apart, each whole.
TEST_F(BrowserPages, PageRulesForPicturesDoNotReachThePieces)
{
    const QImage picture = savedPicture();
    const QByteArray style = "img{max-width:50%;border:2px solid red;margin:5px;padding:4px}"
                             "td{padding:3px 20px;border:1px solid blue}";
    writePage("styled.html", style, "<img src=\"picture.png\">");

    Result result = split("styled.html", false, cutsEvery(100, 300), cutsEvery(40, 120));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(difference(screenshot("after-styled.html"), picture, PictureSize.height()),
              QString());

    result = split("styled.html", true, cutsEvery(100, 300), cutsEvery(40, 120));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QImage table = screenshot("after-styled.html");
    // Each cell adds its border and padding: 42 px across, 8 px down. The third column lies
    // beyond the window.
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column) {
            const QRect piece(column * 100, row * 40, 100, 40);
            const QPoint at = PictureAt + piece.topLeft() + QPoint(21 + 42 * column, 4 + 8 * row);
            EXPECT_TRUE(table.copy(QRect(at, piece.size())).convertToFormat(QImage::Format_RGB32) ==
                        picture.copy(piece))
                << "piece " << row << ", " << column;
        }
}

// The differences of red, green and blue between two pictures at each pixel of `area`.
std::vector<int> channelDifferences(const QImage& a, const QImage& b, const QRect& area)
{
    std::vector<int> differences;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            for (const int shift : {0, 8, 16})
                differences.push_back(std::abs(int(a.pixel(x, y) >> shift & 255) -
                                               int(b.pixel(x, y) >> shift & 255)));
    return differences;
}

// Adobe RGB pictures, a PNG (iCCP) and a JPEG (APP2): the browser shows their pieces in the very
// colours it showed them in, in every format. Blocks of one colour, whose middles JPEG at the
// highest quality keeps but for its rounding through YCbCr (which the profile widens to 2); a
// lost profile moves a colour by 14 or more.
TEST_F(BrowserPages, PiecesCarryTheColourProfileOfTheirPicture)
{
    QImage picture(96, 64, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 252, 42), qRgb(255, 150, 82), qRgb(30, 120, 200)};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, colours[(x / 16 + y / 16) % 3]);
    picture.setColorSpace(QColorSpace::AdobeRgb);
    ASSERT_TRUE(picture.save(path("profiled.png")));
    ASSERT_TRUE(picture.save(path("profiled.jpg"), nullptr, 100));
    writePage("colours.html", "",
              "<img id=p src=profiled.png></div><div style=\"position:absolute;left:150px;top:"
              "17px\"><img id=j src=profiled.jpg>");
    const QImage before = screenshot("colours.html");
    for (const QString format : {"png", "jpeg", "webp", "auto"})
        for (const bool table : {false, true}) {
            SCOPED_TRACE((format + (table ? " table" : " lines")).toStdString());
            QStringList options = {"--vertical=48", "--horizontal=32", "--format=" + format,
                                   "--quality=100"};
            if (table)
                options << "--table";
            ASSERT_EQ(run(QStringList{"split", path("colours.html"), "--id=p", "--output",
                                      path("after.html")} +
                          options)
                          .exitCode,
                      0);
            ASSERT_EQ(run(QStringList{"split", path("after.html"), "--id=j"} + options).exitCode,
                      0);
            const QImage after = screenshot("after.html");
            for (const QPoint at : {PictureAt, QPoint(150, PictureAt.y())})
                for (int y = 8; y < 64; y += 16)
                    for (int x = 8; x < 96; x += 16)
                        for (const int d :
                             channelDifferences(before, after, {at + QPoint(x, y), QSize(1, 1)}))
                            ASSERT_LE(d, format == "jpeg" ? 2 : 1) << at.x() + x << ", " << y;
        }
}

// Real drawings (a mask and a filter; text and CSS) and one of a gradient, a clip path and text:
// their pieces show what the browser drew, at the size the page shows them.
TEST_F(BrowserPages, SvgPiecesShowWhatTheBrowserDrew)
{
    QFile drawn(path("drawn.svg"));
    ASSERT_TRUE(drawn.open(QIODevice::WriteOnly));
    drawn.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"120\"><defs>"
                "<linearGradient id=\"g\"><stop stop-color=\"#f80\"/><stop offset=\"1\" "
                "stop-color=\"#08f\" stop-opacity=\".5\"/></linearGradient><clipPath id=\"c\">"
                "<circle cx=\"150\" cy=\"60\" r=\"45\"/></clipPath></defs><rect width=\"200\" "
                "height=\"120\" rx=\"12\" fill=\"url(#g)\" clip-path=\"url(#c)\"/><text x=\"10\" "
                "y=\"70\" style=\"font:bold 22px DejaVu Sans\">Tilemond</text></svg>");
    drawn.close();
    const std::pair<QString, QSize> drawings[] = {
        {"/usr/share/icons/Adwaita/scalable/legacy/preferences-desktop-appearance-symbolic.svg",
         {128, 128}},
        {"/usr/share/libwacom/layouts/dti-520.svg", {172, 150}},
        {path("drawn.svg"), {200, 120}}};
    for (const auto& [file, size] : drawings) {
        SCOPED_TRACE(file.toStdString());
        QFile::remove(path("drawing.svg"));
        ASSERT_TRUE(QFile::copy(file, path("drawing.svg")));
        writePage("drawing.html", "",
                  QStringLiteral("<img src=drawing.svg width=%1 height=%2>")
                      .arg(size.width())
                      .arg(size.height())
                      .toUtf8());
        const QImage before = screenshot("drawing.html");
        ASSERT_EQ(split("drawing.html", true, {"60"}, {"50"}).exitCode, 0);
        const std::vector<int> differences =
            channelDifferences(before, screenshot("after-drawing.html"), QRect(PictureAt, size));
        EXPECT_LE(std::accumulate(differences.begin(), differences.end(), 0.0) /
                      double(differences.size()),
                  2.0);
    }
}

} // namespace
} // namespace tilemond::app
