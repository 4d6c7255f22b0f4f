#include "support/picture_quality.h"
#include "tilemond_run.h"

#include <QColorSpace>
#include <QImage>
#include <QStandardPaths>
#include <QUrl>

#include <numeric>
#include <optional>

// The split's result as a reader sees it: headless Chromium renders the page before and after
// `tilemond split`, and the screen area where the picture stood must hold the picture unchanged.
namespace tilemond::app {
namespace {

constexpr QPoint PictureAt(13, 17);
constexpr QSize PictureSize(300, 120);
constexpr QSize Window(360, 180);

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

class BrowserPages : public TilemondRun
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

    QImage screenshot(const QString& page, QSize window = Window)
    {
        const QString shot = path(page + ".shot.png");
        chromium(page,
                 {"--hide-scrollbars", "--screenshot=" + shot,
                  QStringLiteral("--window-size=%1,%2").arg(window.width()).arg(window.height())});
        return QImage(shot);
    }

    // The page as Chromium parsed it.
    QString dom(const QString& page) { return chromium(page, {"--dump-dom"}); }

    QString chromium(const QString& page, const QStringList& more)
    {
        QProcess chromium;
        chromium.start(m_chromium,
                       QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                                   "--disable-background-networking", "--disable-component-update",
                                   "--disable-sync", "--force-device-scale-factor=1",
                                   "--user-data-dir=" + path("chromium-profile-" + page)} +
                           more + QStringList{QUrl::fromLocalFile(path(page)).toString()});
        if (!chromium.waitForFinished(90000))
            chromium.kill();
        return QString::fromUtf8(chromium.readAllStandardOutput());
    }

    // A page of ours with `img` in a box at PictureAt.
    void writePage(const QString& name, const QByteArray& style, const QByteArray& img,
                   const QByteArray& doctype = "<!DOCTYPE html>\n") const
    {
        writeFile(name, doctype +
                            "<html><head><meta charset=\"utf-8\"><style>body{margin:0;background:"
                            "repeating-linear-gradient(45deg,#ff00ff 0 7px,#00ffff 7px 14px)}" +
                            style +
                            "</style></head>\n<body>\n<div style=\"position:absolute;left:13px;"
                            "top:17px\">" +
                            img + "</div>\n</body></html>\n");
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

private:
    QString m_chromium;
};

// Pictures as pages place them: centred in a paragraph, in a link within running text, floated
// with spacing and a border, in a figure, a list item, a line of their own, by a class and by a
// style of their own, under a style sheet that spaces divisions, spans, tables and cells apart.
// Each is split in either mode, two pieces then once more: the page looks exactly as before, and
// every piece of the linked picture stays in the link.
TEST_F(BrowserPages, PiecesStandAndActWhereThePictureStood)
{
    const QImage picture = testPicture();
    ASSERT_TRUE(picture.copy(0, 0, 60, 30).save(path("s.png")));
    ASSERT_TRUE(picture.copy(50, 20, 48, 40).save(path("t.png")));
    writeFile(
        "placed.html",
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><style>body{margin:8px;"
        "font:16px/1.6 sans-serif;color:#000;background:#fff}p{text-indent:1em;margin:4px 0}"
        "td{padding:6px;border:2px solid blue}tr{background:#ccc}table{border:3px solid red;"
        "margin:20px;border-collapse:collapse}div{margin:7px;padding:5px;border:1px solid green}"
        "span{padding:3px}.logo{float:right}</style></head><body>\n"
        "<p align=center>Centred <img id=p1 src=s.png alt=A> text</p>\n"
        "<p>Running <a href=\"x.html\"><img id=p2 src=t.png align=middle></a> linked</p>\n"
        "<img id=p3 src=s.png align=left hspace=5 vspace=3 border=2>Text beside a floated "
        "picture, long enough to wrap around it.\n"
        "<figure><img id=p4 src=t.png><figcaption>Caption</figcaption></figure>\n"
        "<ul><li><img id=p5 src=s.png> item</li></ul>\n"
        "<section>one<br><img id=p6 src=t.png><br>after</section>\n"
        "<img id=p7 class=logo src=s.png>\n"
        "<p><img id=p8 src=s.png style=\"vertical-align:text-top;margin-left:9px\"> styled</p>\n"
        "</body></html>\n");
    const QSize window(500, 600);
    const QImage before = screenshot("placed.html", window);
    ASSERT_FALSE(before.isNull()) << "chromium made no screenshot";

    for (const bool table : {true, false}) {
        SCOPED_TRACE(table ? "table" : "lines");
        const QString after = table ? "placed-table.html" : "placed-lines.html";
        ASSERT_TRUE(QFile::copy(path("placed.html"), path(after)));
        const auto splitAgain = [&](const QStringList& picture, const QString& cuts,
                                    const QString& rows) {
            QStringList arguments =
                QStringList{"split", path(after)} + picture +
                QStringList{"--vertical", cuts, "--horizontal", rows, "--output", path(after)};
            if (table)
                arguments << "--table";
            const Result result = run(arguments);
            ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        };
        for (int n = 1; n <= 8; ++n)
            splitAgain({"--id", QStringLiteral("p%1").arg(n)}, "20,40", "10");
        // A piece split again, in a paragraph's span and in a section's division (each picture
        // above made six).
        splitAgain({"--image", "0"}, "10", "5");
        splitAgain({"--image", "31"}, "10", "5");

        EXPECT_TRUE(screenshot(after, window) == before);
        const QString parsed = dom(after);
        const qsizetype link = parsed.indexOf("<a href=\"x.html\">");
        ASSERT_GE(link, 0) << parsed.toStdString();
        EXPECT_EQ(parsed.mid(link, parsed.indexOf("</a>", link) - link).count("<img"), 6)
            << parsed.toStdString();
    }
}

// Pictures that page rules for pictures let shrink with the page, one centred as a block, one in
// a table cell beside text: their pieces stand as they stood, and where the window narrows they
// shrink with it instead of widening the page.
TEST_F(BrowserPages, PiecesStandAndShrinkAsThePageRulesForPicturesSay)
{
    ASSERT_TRUE(testPicture().scaled(600, 120).save(path("wide.png")));
    ASSERT_TRUE(testPicture().scaled(460, 100).save(path("cell.png")));
    writeFile("ruled.html",
              "<!DOCTYPE html>\n<html><head><style>img{max-width:100%;height:auto}"
              "img.center{display:block;margin-left:auto;margin-right:auto}</style></head><body>"
              "<p>Above</p><img class=center src=wide.png alt=W><table><tr><td><img "
              "src=cell.png></td><td>Text beside the picture</td></tr></table><script>"
              "addEventListener('load',()=>{const d=document.documentElement;"
              "document.body.dataset.over=d.scrollWidth>d.clientWidth})</script></body></html>\n");
    const QSize window(700, 400);
    const QImage before = screenshot("ruled.html", window);
    ASSERT_FALSE(before.isNull()) << "chromium made no screenshot";
    const QStringList narrow = {"--window-size=500,400", "--dump-dom"};
    ASSERT_TRUE(chromium("ruled.html", narrow).contains("data-over=\"false\""));

    for (const bool table : {false, true}) {
        SCOPED_TRACE(table ? "table" : "lines");
        const QStringList viewport = {"--viewport", QString::number(window.width())};
        Result result = split("ruled.html", table, {"200", "401"}, {"50"}, viewport);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        // The second picture comes after the first one's six pieces.
        QStringList again = {"split", path("after-ruled.html"), "--image", "6"};
        again += QStringList{"--vertical", "100,301", "--horizontal", "40"} + viewport;
        if (table)
            again << "--table";
        result = run(again);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_TRUE(screenshot("after-ruled.html", window) == before);
        EXPECT_TRUE(chromium("after-ruled.html", narrow).contains("data-over=\"false\""));
    }
}

// Pages whose picture the pieces must show unchanged: in a box narrower than the picture (a
// line of pieces stays one line, the table whole); under a style sheet that squeezes and pads
// pictures and cells, cut at the picture's own size (the pieces resist it); with see-through pixels
// of every degree (the background shows through as through the picture); in quirks mode. Rows
// thinner than a line of text, and a doubled cut on each axis (a column and a row without pixels).
TEST_F(BrowserPages, PiecesShowThePictureUnchangedInBoxesUnderRulesAndSeenThrough)
{
    QImage alpha(PictureSize, QImage::Format_ARGB32);
    for (int y = 0; y < alpha.height(); ++y)
        for (int x = 0; x < alpha.width(); ++x)
            alpha.setPixel(x, y, qRgba(x * 7 % 256, y * 13 % 256, 60, (x * 3 + y * 11) % 256));
    ASSERT_TRUE(alpha.save(path("alpha.png")));
    const QImage picture = testPicture();
    ASSERT_TRUE(picture.save(path("picture.png")));
    const struct
    {
        QString page;
        QByteArray style, img;
        QStringList more;
        QByteArray doctype = "<!DOCTYPE html>\n";
    } pages[] = {
        {"narrow.html", "body>div{width:150px}", "<img src=\"picture.png\">", {}},
        {"styled.html",
         "img{max-width:50%;border:2px solid red;margin:5px;padding:4px}td{padding:3px 20px;"
         "border:1px solid blue;background:red}table{margin:9px;border:2px solid}",
         "<img src=\"picture.png\">",
         {"--viewport", "0"}},
        {"alpha.html", "", "<img src=\"alpha.png\">", {}},
        {"quirks.html", "", "<img src=\"picture.png\">", {}, ""},
    };
    QStringList rows = cutsEvery(3, PictureSize.height());
    rows << rows.first();
    for (const auto& each : pages) {
        SCOPED_TRACE(each.page.toStdString());
        writePage(each.page, each.style, each.img, each.doctype);
        const QImage expected = each.page == "alpha.html"
                                    ? screenshot(each.page).copy(QRect(PictureAt, PictureSize))
                                    : picture;
        ASSERT_FALSE(expected.isNull()) << "chromium made no screenshot";
        for (const bool table : {false, true}) {
            SCOPED_TRACE(table ? "table" : "lines");
            const Result result = split(each.page, table, {"100", "200", "100"}, rows, each.more);
            ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
            EXPECT_EQ(difference(screenshot("after-" + each.page), expected, PictureSize.height()),
                      QString());
        }
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
    // The profile is the pieces' own: either mode shows it, so each format takes one.
    for (const auto& [format, table] :
         {std::pair{QString("png"), false}, {"jpeg", true}, {"webp", false}, {"auto", true}}) {
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
        ASSERT_EQ(run(QStringList{"split", path("after.html"), "--id=j"} + options).exitCode, 0);
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
    writeFile("drawn.svg",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"120\"><defs>"
              "<linearGradient id=\"g\"><stop stop-color=\"#f80\"/><stop offset=\"1\" "
              "stop-color=\"#08f\" stop-opacity=\".5\"/></linearGradient><clipPath id=\"c\">"
              "<circle cx=\"150\" cy=\"60\" r=\"45\"/></clipPath></defs><rect width=\"200\" "
              "height=\"120\" rx=\"12\" fill=\"url(#g)\" clip-path=\"url(#c)\"/><text x=\"10\" "
              "y=\"70\" style=\"font:bold 22px DejaVu Sans\">Tilemond</text></svg>");
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
