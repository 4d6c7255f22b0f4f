#include "pictures/picture_file.h"
#include "pictures/picture_limits.h"
#include "platform/screen_metrics.h"
#include "support/test_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <vector>

extern "C" {
#include <uemf.h>
}

namespace tilemond {
namespace {

// The picture read, or a null picture; and why not, empty for a picture read.
QImage imageOf(const LoadedPicture& loaded)
{
    return loaded.value_or(QImage());
}
QString errorOf(const LoadedPicture& loaded)
{
    return loaded ? QString() : loaded.error();
}
std::string whyNot(const LoadedPicture& loaded)
{
    return errorOf(loaded).toStdString();
}

// The bundled pictures (made by scripts/make-test-pictures): 40 x 30 pixels in quadrants of
// red, green, blue and yellow, and broken copies of each.
QString picture(const QString& name)
{
    return QStringLiteral(TILEMOND_PICTURES "/") + name;
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

::testing::AssertionResult near(QRgb actual, QRgb expected, int tolerance)
{
    if (std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
        std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
        std::abs(qBlue(actual) - qBlue(expected)) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << QColor(actual).name().toStdString() << " is not "
                                         << QColor(expected).name().toStdString();
}

class MetafilePicture : public ::testing::Test
{
protected:
    void SetUp() override { Screen::overrideTwipsPerPixel(15, 15); }
    void TearDown() override { Screen::clearOverride(); }
};

TEST(PictureFile, RasterFormatsDecodeTheirQuadrants)
{
    for (const char* name :
         {"quadrants.bmp", "quadrants.png", "quadrants.gif", "quadrants.jpg", "png-named.bmp"}) {
        SCOPED_TRACE(name);
        const LoadedPicture loaded = loadPictureFile(picture(name));
        ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
        EXPECT_EQ(imageOf(loaded).size(), QSize(40, 30));
        EXPECT_FALSE(imageOf(loaded).hasAlphaChannel());
        const int tolerance = QByteArray(name).endsWith(".jpg") ? 24 : 0;
        // The gif's second frame is all red: only the first one counts.
        EXPECT_TRUE(near(imageOf(loaded).pixel(5, 5), kRed, tolerance));
        EXPECT_TRUE(near(imageOf(loaded).pixel(34, 5), kGreen, tolerance));
        EXPECT_TRUE(near(imageOf(loaded).pixel(5, 24), kBlue, tolerance));
        EXPECT_TRUE(near(imageOf(loaded).pixel(34, 24), kYellow, tolerance));
    }
}

// At 15 twips a pixel, quadrants.wmf's placeable header of 600 x 450 twips makes 40 x 30 pixels;
// twice as many at 7.5.
TEST_F(MetafilePicture, WmfRendersAtItsPlaceableSizeOnTheScreensResolution)
{
    Screen::overrideTwipsPerPixel(7.5, 7.5);
    const LoadedPicture loaded = loadPictureFile(picture("quadrants.wmf"));
    ASSERT_EQ(imageOf(loaded).size(), QSize(80, 60)) << whyNot(loaded);
    EXPECT_TRUE(near(imageOf(loaded).pixel(70, 50), kYellow, 0));
}

// Pixels of `image` within `area` that are near `colour`.
int countNear(const QImage& image, const QRect& area, QRgb colour, int tolerance)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += bool(near(image.pixel(x, y), colour, tolerance));
    return count;
}

// "HH" 40 pixels high: black, centred on x = 300 with its baseline on y = 100; red with its top
// right corner at (550, 300), on its box (350, 250)-(550, 350) filled yellow.
TEST_F(MetafilePicture, WmfTextTakesItsColourAndTheBoxItsAlignmentGives)
{
    const LoadedPicture loaded = loadPictureFile(picture("text.wmf"));
    ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
    const QImage& image = imageOf(loaded);
    ASSERT_EQ(image.size(), QSize(600, 450));
    EXPECT_GT(countNear(image, QRect(260, 60, 40, 40), kBlack, 60), 100);
    EXPECT_GT(countNear(image, QRect(300, 60, 40, 40), kBlack, 60), 100);
    EXPECT_EQ(countNear(image, QRect(0, 0, 600, 250), kBlack, 60) -
                  countNear(image, QRect(250, 50, 100, 51), kBlack, 60),
              0); // nothing outside the centred box, nothing below the baseline

    EXPECT_TRUE(near(image.pixel(360, 260), kYellow, 0));
    EXPECT_TRUE(near(image.pixel(560, 300), kWhite, 0));
    EXPECT_GT(countNear(image, QRect(480, 300, 70, 45), kRed, 60), 100);
    EXPECT_EQ(countNear(image, QRect(350, 250, 200, 100), kRed, 60),
              countNear(image, QRect(470, 300, 80, 50), kRed, 60));
}

// Drawings whose records each draw at known pixels (see scripts/make-test-pictures):
// shapes.wmf: a blue rectangle with a black outline 20 wide, a hollow ellipse with a red outline
// 16 wide and a green pie from east to north; bitmap.wmf: a 2 x 2 bitmap stored bottom up,
// stretched; clipped.wmf: a red rectangle clipped to (100, 100)-(300, 300) less
// (150, 150)-(200, 200), then, the clip restored away, a blue one; records.wmf: a pen that takes
// the slot of a deleted brush, a clip region ended by selecting its empty slot, a 2 x 2 pattern
// brush and rectangles drawn with XOR; drawing.emf: rectangle in device units, ellipse with the
// stock brush, polygon16, moveto / lineto, polyline16 with an extended pen, a bitmap with its
// rows bottom up and a polypolygon16 after restoredc.
TEST_F(MetafilePicture, MetafileRecordsDrawWhereAndHowTheySay)
{
    const QRgb kCyan = qRgb(0, 255, 255), kMagenta = qRgb(255, 0, 255);
    const std::tuple<const char*, QSize, std::vector<std::tuple<int, int, QRgb>>> drawings[] = {
        // clang-format off
        {"quadrants.wmf", {40, 30},
         {{3, 3, kRed}, {10, 7, kBlack}, {34, 5, kGreen}, {5, 24, kBlue}, {34, 24, kYellow}}},
        // A red rectangle 100 units in from the left and top of its 600 x 450 frame with a black
        // ellipse in its middle: the frame fills the picture, the margins stay white.
        {"framed.wmf", {40, 30},
         {{20, 15, kBlack}, {10, 15, kRed}, {30, 15, kRed}, {3, 3, kWhite}, {36, 26, kWhite},
          {3, 15, kWhite}}},
        {"framed-plain.wmf", {600, 450}, // no placeable header: its window extent
         {{300, 225, kBlack}, {150, 225, kRed}, {450, 225, kRed}, {50, 50, kWhite},
          {550, 400, kWhite}, {50, 225, kWhite}}},
        {"shapes.wmf", {600, 450},
         {{150, 125, kBlue}, {65, 125, kBlue}, {50, 125, kBlack}, {42, 125, kBlack},
          {35, 125, kWhite}, {450, 125, kWhite}, {365, 125, kWhite}, {350, 125, kRed},
          {343, 125, kRed}, {335, 125, kWhite}, {190, 300, kGreen}, {110, 300, kWhite},
          {190, 350, kWhite}}},
        {"bitmap.wmf", {600, 450},
         {{200, 160, kBlue}, {400, 160, kCyan}, {200, 290, kMagenta}, {400, 290, kBlue},
          {50, 50, kWhite}, {550, 400, kWhite}}},
        {"clipped.wmf", {600, 450},
         {{120, 120, kRed}, {250, 250, kRed}, {175, 175, kWhite}, {50, 50, kWhite},
          {350, 350, kWhite}, {450, 350, kBlue}}},
        {"records.wmf", {600, 450},
         {{150, 125, kYellow}, {50, 125, kRed}, {400, 100, kBlue}, {320, 30, kWhite},
          {500, 100, kWhite}, {100, 300, kWhite}, {101, 300, kBlack}, {150, 351, kBlack},
          {151, 351, kWhite}, {375, 275, kCyan}, {450, 325, kWhite}, {525, 375, kCyan}}},
        {"drawing.emf", {80, 60},
         {{5, 5, kRed}, {20, 15, kBlack}, {60, 15, kGreen}, {60, 5, kBlack}, {60, 25, kBlue},
          {10, 37, kBlue}, {30, 37, kCyan}, {10, 52, kMagenta}, {75, 58, kYellow}}},
        // clang-format on
    };
    for (const auto& [name, size, probes] : drawings) {
        SCOPED_TRACE(name);
        const LoadedPicture loaded = loadPictureFile(picture(name));
        ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
        ASSERT_EQ(imageOf(loaded).size(), size);
        for (const auto& [x, y, colour] : probes)
            EXPECT_TRUE(near(imageOf(loaded).pixel(x, y), colour, 0)) << x << "," << y;
    }
    const QImage emf = imageOf(loadPictureFile(picture("drawing.emf")));
    int dark = 0; // the text "HH" on yellow
    for (int y = 35; y < 52; ++y)
        for (int x = 45; x < 70; ++x)
            dark += qGray(emf.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);
}

// A rectangle outlined with a pen wider than the whole frame covers the picture (it once drew
// nothing).
TEST_F(MetafilePicture, APenWiderThanTheFrameCoversThePicture)
{
    const LoadedPicture wide =
        loadPictureFile(QStringLiteral(TILEMOND_PICTURES) +
                        "/../../fuzz/inputs/picture_wmf/pen-wider-than-frame.wmf");
    ASSERT_EQ(imageOf(wide).size(), QSize(600, 450)) << whyNot(wide);
    EXPECT_EQ(countNear(imageOf(wide), imageOf(wide).rect(), qRgb(0x69, 0, 0), 0), 600 * 450);
}

TEST_F(MetafilePicture, BrokenFilesOfEveryFormatSayWhichFileAndWhy)
{
    for (const char* name : {"truncated.bmp", "garbage.bmp", "truncated.png", "garbage.png",
                             "truncated.jpg", "garbage.jpg", "truncated.gif", "garbage.gif",
                             "truncated.wmf", "garbage.wmf", "truncated.emf", "garbage.emf"}) {
        SCOPED_TRACE(name);
        const QString path = picture(name);
        const LoadedPicture loaded = loadPictureFile(path);
        EXPECT_TRUE(imageOf(loaded).isNull());
        EXPECT_TRUE(errorOf(loaded).startsWith(QDir::toNativeSeparators(path) + " is damaged: "))
            << whyNot(loaded);
    }
}

QString written(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    return writeTestFile(dir.filePath(name), bytes);
}

// See-through pixels stay see-through, with their exact colour: a PNG's alpha of 0, partial and
// full, and a GIF's transparent colour. A picture whose alpha is all opaque is held without it.
TEST(PictureFile, TransparencyIsKept)
{
    const QTemporaryDir dir;
    QImage alpha(3, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(10, 20, 30, 0));
    alpha.setPixel(1, 0, qRgba(200, 100, 7, 3));
    alpha.setPixel(2, 0, qRgba(1, 2, 3, 255));
    ASSERT_TRUE(alpha.save(dir.filePath("alpha.png")));
    LoadedPicture loaded = loadPictureFile(dir.filePath("alpha.png"));
    EXPECT_EQ(imageOf(loaded).format(), QImage::Format_ARGB32);
    EXPECT_EQ(imageOf(loaded), alpha);

    loaded = loadPictureFile(picture("transparent.gif"));
    ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
    EXPECT_EQ(imageOf(loaded).pixel(5, 5), kRed);
    EXPECT_EQ(imageOf(loaded).pixel(5, 24), kBlue);
    EXPECT_EQ(qAlpha(imageOf(loaded).pixel(34, 24)), 0); // the yellow quadrant

    QImage opaque(2, 2, QImage::Format_ARGB32);
    opaque.fill(qRgba(9, 8, 7, 255));
    ASSERT_TRUE(opaque.save(dir.filePath("opaque.png")));
    EXPECT_EQ(imageOf(loadPictureFile(dir.filePath("opaque.png"))).format(), QImage::Format_RGB32);
}

// A picture is given at the size a page shows it: scaled smoothly, never beyond the limits.
TEST(PictureFile, PicturesComeAtTheSizeAsked)
{
    const auto twice = [](QSize own) { return own * 2; };
    const LoadedPicture loaded = loadPictureFile(picture("quadrants.png"), twice);
    ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
    ASSERT_EQ(imageOf(loaded).size(), QSize(80, 60));
    EXPECT_TRUE(near(imageOf(loaded).pixel(10, 10), kRed, 0));
    EXPECT_TRUE(near(imageOf(loaded).pixel(70, 50), kYellow, 0));
    // Where two quadrants meet, the filter blends them.
    EXPECT_FALSE(near(imageOf(loaded).pixel(40, 10), kRed, 8) ||
                 near(imageOf(loaded).pixel(40, 10), kGreen, 8));

    const QString path = picture("quadrants.bmp");
    EXPECT_TRUE(errorOf(loadPictureFile(path, [](QSize) {
                    return QSize(40000, 10);
                })).startsWith(path + " is too large: 40000 x 10 pixels"));
}

// Red on the left half of a drawing of width x height units, the right half see-through.
QByteArray halfRed(const QByteArray& rootAttributes, int width, int height)
{
    return "<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<svg "
           "xmlns=\"http://www.w3.org/2000/svg\" " +
           rootAttributes + "><rect width=\"" + QByteArray::number(width / 2) + "\" height=\"" +
           QByteArray::number(height) + "\" fill=\"#ff0000\"/></svg>";
}

// An SVG drawing's own size is the one a browser gives it: the root's width and height (96 pixels
// an inch), the viewBox's shape fitted into 300 x 150 without them, 300 x 150 without either.
TEST(PictureFile, SvgDrawingsRenderAtTheSizeABrowserGivesThem)
{
    const QTemporaryDir dir;
    // The root's attributes, the drawing's units and the size it comes at.
    const std::tuple<QByteArray, QSize, QSize> cases[] = {
        {"width=\"40\" height=\"20\"", {40, 20}, {40, 20}},
        {"width=\"1in\" height=\"0.5in\"", {96, 48}, {96, 48}},
        {"width=\"40px\" viewBox=\"0 0 100 25\"", {100, 25}, {40, 10}},
        {"viewBox=\"0 0 100 25\"", {100, 25}, {300, 75}},
        {"viewBox=\"0 0 50 50\"", {50, 50}, {150, 150}},
        {"width=\"100%\"", {300, 150}, {300, 150}},
    };
    for (const auto& [attributes, units, size] : cases) {
        SCOPED_TRACE(attributes.toStdString());
        const LoadedPicture loaded = loadPictureFile(
            written(dir, "d.svg", halfRed(attributes, units.width(), units.height())));
        ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
        ASSERT_EQ(imageOf(loaded).size(), size);
        EXPECT_EQ(imageOf(loaded).pixel(size.width() / 4, size.height() / 2), kRed);
        EXPECT_EQ(qAlpha(imageOf(loaded).pixel(size.width() * 3 / 4, size.height() / 2)), 0);
    }

    // Shown at another size, drawn at it: kept in shape and centred, or stretched when the
    // drawing says so.
    const auto wide = [](QSize) { return QSize(80, 10); };
    LoadedPicture loaded =
        loadPictureFile(written(dir, "d.svg", halfRed("width=\"40\" height=\"20\"", 40, 20)), wide);
    ASSERT_EQ(imageOf(loaded).size(), QSize(80, 10));
    EXPECT_EQ(qAlpha(imageOf(loaded).pixel(5, 5)), 0);
    EXPECT_EQ(imageOf(loaded).pixel(35, 5), kRed);
    loaded = loadPictureFile(
        written(dir, "d.svg", halfRed("viewBox=\"0 0 4 2\" preserveAspectRatio=\"none\"", 4, 2)),
        wide);
    EXPECT_EQ(imageOf(loaded).pixel(5, 5), kRed);
    EXPECT_EQ(qAlpha(imageOf(loaded).pixel(60, 5)), 0);

    const QString broken =
        written(dir, "broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
    EXPECT_TRUE(
        errorOf(loadPictureFile(broken)).startsWith(broken + " is damaged: its XML is broken"))
        << errorOf(loadPictureFile(broken)).toStdString();
}

// As in a browser, a drawing reads nothing outside its file: not a picture it names (a FIFO that
// never ends would hang the read), not a style sheet, an XInclude or an external entity; a data:
// picture it holds is drawn.
TEST(PictureFile, SvgDrawingsLoadNothingOutsideTheirFile)
{
    const QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QImage blue(10, 10, QImage::Format_RGB32);
    blue.fill(kBlue);
    ASSERT_TRUE(blue.save(dir.filePath("blue.png")));
    QFile::copy(picture("quadrants.png"), dir.filePath("q.png"));
    QFile inlined(picture("quadrants.png"));
    ASSERT_TRUE(inlined.open(QIODevice::ReadOnly));

    written(dir, "blue.svg",
            "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"40\" height=\"10\" "
            "fill=\"blue\"/></svg>");
    const QByteArray drawing =
        "<?xml-stylesheet href=\"" + fifo.toUtf8() +
        "\" type=\"text/css\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "xmlns:xi=\"http://www.w3.org/2001/XInclude\" width=\"40\" height=\"10\">"
        "<image x=\"0\" width=\"10\" height=\"10\" xlink:href=\"" +
        fifo.toUtf8() +
        "\"/>"
        "<image x=\"10\" width=\"10\" height=\"10\" href=\"" +
        dir.filePath("blue.png").toUtf8() +
        "\"/>"
        "<image x=\"20\" width=\"10\" height=\"10\" preserveAspectRatio=\"none\" "
        "xlink:href=\"data:image/png;base64," +
        inlined.readAll().toBase64() + "\"/><svg x=\"30\"><xi:include href=\"" +
        dir.filePath("blue.svg").toUtf8() + "\" parse=\"xml\"/></svg></svg>";
    const LoadedPicture loaded = loadPictureFile(written(dir, "d.svg", drawing));
    ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
    EXPECT_EQ(qAlpha(imageOf(loaded).pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(imageOf(loaded).pixel(15, 5)), 0);
    EXPECT_TRUE(near(imageOf(loaded).pixel(21, 1), kRed, 8));
    EXPECT_EQ(qAlpha(imageOf(loaded).pixel(35, 5)), 0);

    const LoadedPicture entity = loadPictureFile(
        written(dir, "e.svg",
                "<!DOCTYPE svg [<!ENTITY blue SYSTEM \"" + dir.filePath("blue.svg").toUtf8() +
                    "\">]>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" "
                    "height=\"10\">&blue;</svg>"));
    EXPECT_TRUE(imageOf(entity).isNull() || qAlpha(imageOf(entity).pixel(5, 5)) == 0);
}

TEST_F(MetafilePicture, OversizePicturesAreRefusedBeforeDecoding)
{
    for (const char* name : {"huge.bmp", "huge.png"}) {
        const QString path = picture(name);
        EXPECT_TRUE(errorOf(loadPictureFile(path))
                        .startsWith(path + " is too large: 100000 x 100000 pixels (at most 32767"))
            << errorOf(loadPictureFile(path)).toStdString();
    }
    // A frame of 100 x 100 metres.
    EXPECT_TRUE(
        errorOf(loadPictureFile(picture("huge.emf"))).contains("is too large: 377953 x 377953"))
        << errorOf(loadPictureFile(picture("huge.emf"))).toStdString();

    // A few bytes announce 16000 x 16000.
    QByteArray gif("GIF89a\x80\x3e\x80\x3e\x80\0\0\0\0\0\xff\xff\xff,\0\0\0\0\x80\x3e\x80\x3e\0"
                   "\x02\x02\x4c\x01\0;",
                   35);
    EXPECT_EQ(errorOf(loadPictureData(gif, "bomb.gif")),
              "bomb.gif is too large: 16000 x 16000 pixels (at most 32767 pixels a side and "
              "33554432 pixels in all; --max-pixels allows more)");
    const QByteArray svg("<svg xmlns='http://www.w3.org/2000/svg' width='16384' height='16384'/>");
    EXPECT_TRUE(errorOf(loadPictureData(svg, "bomb.svg"))
                    .startsWith("bomb.svg is too large: 16384 x 16384 pixels"));
}

QByteArray words(std::initializer_list<qint32> values)
{
    QByteArray bytes;
    for (const qint32 value : values)
        bytes.append(reinterpret_cast<const char*>(&value), 4);
    return bytes;
}

// An enhanced metafile of `side` x `side` pixels at 96 DPI with these records and room for four
// objects.
QByteArray emfOf(int side, const QByteArray& records)
{
    const qint32 frame = qint32(std::lround(side * 2540.0 / 96));
    const QByteArray end = words({14, 20, 0, 16, 20});
    const qint32 size = qint32(108 + records.size() + end.size());
    return words({1,   108,   0,     0,          side - 1, side - 1, 0,
                  0,   frame, frame, 0x464D4520, 0x10000,  size,     qint32(records.size() / 8 + 2),
                  4,   0,     0,     0,          960,      960,      254,
                  254, 0,     0,     0,          254000,   254000}) +
           records + end;
}

// The bytes of a record that libuemf made.
QByteArray taken(char* record)
{
    const QByteArray bytes(record, qsizetype(reinterpret_cast<U_EMR*>(record)->nSize));
    std::free(record);
    return bytes;
}

// The box of the pixels darker than mid grey; null when there are none.
QRect darkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// A black square of 10 x 10 units at the origin, drawn through world transforms that each put it
// elsewhere when multiplied in the wrong order or read transposed, and through a window origin
// that the world transform comes before.
TEST_F(MetafilePicture, EmfWorldTransformsPlaceTheDrawingInTheirOrder)
{
    const QByteArray square = taken(U_EMRSELECTOBJECT_set(U_BLACK_BRUSH)) +
                              taken(U_EMRSELECTOBJECT_set(U_NULL_PEN)) +
                              taken(U_EMRRECTANGLE_set(rectl_set({0, 0}, {10, 10})));
    const auto set = [](U_XFORM xform) { return taken(U_EMRSETWORLDTRANSFORM_set(xform)); };
    const auto modify = [](U_XFORM xform, uint32_t mode) {
        return taken(U_EMRMODIFYWORLDTRANSFORM_set(xform, mode));
    };
    const U_XFORM moved = xform_set(1, 0, 0, 1, 50, 0);
    const U_XFORM doubled = xform_set(2, 0, 0, 2, 0, 0);
    const std::tuple<const char*, QByteArray, QRect> cases[] = {
        {"doubled, then moved", set(moved) + modify(doubled, U_MWT_LEFTMULTIPLY), {50, 0, 20, 20}},
        {"moved, then doubled",
         set(moved) + modify(doubled, U_MWT_RIGHTMULTIPLY),
         {100, 0, 20, 20}},
        {"turned a quarter and moved", set(xform_set(0, 1, -1, 0, 60, 20)), {50, 20, 10, 10}},
        {"doubled, then the window's origin",
         taken(U_EMRSETWINDOWORGEX_set({10, 0})) + set(doubled),
         {-10, 0, 20, 20}},
    };
    for (const auto& [what, transform, expected] : cases) {
        SCOPED_TRACE(what);
        const LoadedPicture loaded = loadPictureData(emfOf(150, transform + square), "w.emf");
        ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
        const QRect box = darkBox(imageOf(loaded));
        EXPECT_LE((box.center() - expected.intersected(imageOf(loaded).rect()).center())
                      .manhattanLength(),
                  2)
            << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
    }
}

// "HHHH" with its baseline from the middle of the picture at an escapement of 90 degrees runs up
// from there, counterclockwise.
TEST_F(MetafilePicture, EmfTextRunsAtItsEscapementCounterclockwise)
{
    U_LOGFONT font = logfont_set(-20, 0, 900, 900, 400, 0, 0, 0, 0, 0, 0, 0, 0,
                                 std::array<uint16_t, U_LF_FACESIZE>{}.data());
    char16_t text[] = u"HHHH";
    uint32_t advances[4] = {14, 14, 14, 14};
    char* emrText =
        emrtext_set({50, 50}, 4, 2, text, U_ETO_NONE, rectl_set({0, 0}, {0, 0}), advances);
    const QByteArray records =
        taken(U_EMREXTCREATEFONTINDIRECTW_set(1, reinterpret_cast<const char*>(&font), nullptr)) +
        taken(U_EMRSELECTOBJECT_set(1)) + taken(U_EMRSETTEXTALIGN_set(U_TA_BASELINE)) +
        taken(U_EMREXTTEXTOUTW_set(rectl_set({0, 0}, {100, 100}), U_GM_COMPATIBLE, 1, 1,
                                   reinterpret_cast<PU_EMRTEXT>(emrText)));
    std::free(emrText);
    const LoadedPicture loaded = loadPictureData(emfOf(100, records), "text.emf");
    ASSERT_TRUE(errorOf(loaded).isEmpty()) << whyNot(loaded);
    const QRect box = darkBox(imageOf(loaded));
    EXPECT_TRUE(box.height() > 40 && box.width() < 25 && box.bottom() <= 51)
        << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
}

// A few bytes of records could ask for hours of painting or gigabytes of saved states.
TEST_F(MetafilePicture, MetafilesAskingForEndlessWorkAreRefused)
{
    setMaxPicturePixels(qint64(1) << 20);
    // 65 fills of the whole picture.
    const QByteArray rectangles =
        QByteArray::fromHex("2b0000001800000000000000000000000004000000040000").repeated(65);
    EXPECT_EQ(errorOf(loadPictureData(emfOf(1024, rectangles), "fills.emf")),
              "fills.emf is refused: it asks for more than 67108864 pixels of drawing (64 times "
              "the most pixels a picture may have)");
    EXPECT_TRUE(
        errorOf(loadPictureData(emfOf(1024, rectangles.left(24 * 60)), "fills.emf")).isEmpty());
    setMaxPicturePixels(kDefaultMaxPicturePixels);

    EXPECT_EQ(errorOf(loadPictureData(
                  emfOf(10, QByteArray::fromHex("2100000008000000").repeated(1025)), "saves.emf")),
              "saves.emf is refused: it saves more than 1024 drawing states");
}

} // namespace
} // namespace tilemond
