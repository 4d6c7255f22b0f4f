#include "platform/picture_file.h"
#include "platform/picture_limits.h"
#include "platform/screen_metrics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tilemond {
namespace {

// The bundled pictures (made by scripts/make-test-pictures): 40 x 30 pixels in quadrants of
// red, green, blue and yellow, and broken copies of each.
QString picture(const QString& name)
{
    return QFileInfo(QStringLiteral(__FILE__))
        .dir()
        .filePath(QStringLiteral("../data/pictures/") + name);
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kBlack = qRgb(0, 0, 0);

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
        ASSERT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.image.size(), QSize(40, 30));
        EXPECT_EQ(loaded.image.format(), QImage::Format_RGB32);
        const int tolerance = QByteArray(name).endsWith(".jpg") ? 24 : 0;
        // The gif's second frame is all red: only the first one counts.
        EXPECT_TRUE(near(loaded.image.pixel(5, 5), kRed, tolerance));
        EXPECT_TRUE(near(loaded.image.pixel(34, 5), kGreen, tolerance));
        EXPECT_TRUE(near(loaded.image.pixel(5, 24), kBlue, tolerance));
        EXPECT_TRUE(near(loaded.image.pixel(34, 24), kYellow, tolerance));
    }
}

TEST_F(MetafilePicture, WmfRendersAtItsPlaceableSizeOnTheScreensResolution)
{
    LoadedPicture loaded = loadPictureFile(picture("quadrants.wmf"));
    ASSERT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
    ASSERT_EQ(loaded.image.size(), QSize(40, 30)); // 600 x 450 twips at 15 twips a pixel
    EXPECT_TRUE(near(loaded.image.pixel(3, 3), kRed, 0));
    EXPECT_TRUE(near(loaded.image.pixel(10, 7), kBlack, 0));
    EXPECT_TRUE(near(loaded.image.pixel(34, 5), kGreen, 0));
    EXPECT_TRUE(near(loaded.image.pixel(5, 24), kBlue, 0));
    EXPECT_TRUE(near(loaded.image.pixel(34, 24), kYellow, 0));

    Screen::overrideTwipsPerPixel(7.5, 7.5);
    loaded = loadPictureFile(picture("quadrants.wmf"));
    ASSERT_EQ(loaded.image.size(), QSize(80, 60));
    EXPECT_TRUE(near(loaded.image.pixel(70, 50), kYellow, 0));
}

TEST_F(MetafilePicture, WmfWithoutPlaceableHeaderTakesItsWindowExtent)
{
    const LoadedPicture loaded = loadPictureFile(picture("quadrants-plain.wmf"));
    ASSERT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
    ASSERT_EQ(loaded.image.size(), QSize(600, 450));
    EXPECT_TRUE(near(loaded.image.pixel(40, 40), kRed, 0));
    EXPECT_TRUE(near(loaded.image.pixel(500, 400), kYellow, 0));
}

// A red rectangle with a black ellipse in its middle: the ellipse is filled (libwmf alone leaves
// it hollow).
TEST_F(MetafilePicture, WmfEllipsesAreFilled)
{
    for (const auto& [name, scale] : {std::pair{"framed.wmf", 15.0}, {"framed-plain.wmf", 1.0}}) {
        SCOPED_TRACE(name);
        const LoadedPicture loaded = loadPictureFile(picture(name));
        ASSERT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
        ASSERT_EQ(loaded.image.size(), QSize(int(600 / scale), int(450 / scale)));
        const auto at = [&](int x, int y) {
            return loaded.image.pixel(int(x / scale), int(y / scale));
        };
        EXPECT_TRUE(near(at(300, 225), kBlack, 0));
        EXPECT_TRUE(near(at(150, 225), kRed, 0));
        EXPECT_TRUE(near(at(450, 225), kRed, 0));
    }
}

TEST_F(MetafilePicture, EmfDrawsItsRecordsInsideItsFrame)
{
    const LoadedPicture loaded = loadPictureFile(picture("drawing.emf"));
    ASSERT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
    ASSERT_EQ(loaded.image.size(), QSize(80, 60));
    const QImage& image = loaded.image;
    EXPECT_TRUE(near(image.pixel(5, 5), kRed, 0));     // rectangle in device units
    EXPECT_TRUE(near(image.pixel(20, 15), kBlack, 0)); // ellipse, stock brush
    EXPECT_TRUE(near(image.pixel(60, 15), kGreen, 0)); // polygon16
    EXPECT_TRUE(near(image.pixel(60, 5), kBlack, 0));  // moveto / lineto
    EXPECT_TRUE(near(image.pixel(60, 25), kBlue, 0));  // polyline16, extended pen
    EXPECT_TRUE(near(image.pixel(10, 37), kBlue, 0));  // bitmap, rows bottom up
    EXPECT_TRUE(near(image.pixel(30, 37), qRgb(0, 255, 255), 0));
    EXPECT_TRUE(near(image.pixel(10, 52), qRgb(255, 0, 255), 0));
    EXPECT_TRUE(near(image.pixel(75, 58), kYellow, 0)); // polypolygon16 after restoredc

    int dark = 0; // the text "HH" on yellow
    for (int y = 35; y < 52; ++y)
        for (int x = 45; x < 70; ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);
}

TEST_F(MetafilePicture, BrokenFilesOfEveryFormatSayWhichFileAndWhy)
{
    for (const char* name : {"truncated.bmp", "garbage.bmp", "truncated.png", "garbage.png",
                             "truncated.jpg", "garbage.jpg", "truncated.gif", "garbage.gif",
                             "truncated.wmf", "garbage.wmf", "truncated.emf", "garbage.emf"}) {
        SCOPED_TRACE(name);
        const QString path = picture(name);
        const LoadedPicture loaded = loadPictureFile(path);
        EXPECT_TRUE(loaded.image.isNull());
        EXPECT_TRUE(loaded.error.startsWith(QDir::toNativeSeparators(path) + " is damaged: "))
            << loaded.error.toStdString();
    }
}

TEST(PictureFile, MissingFoldersAndUnknownContentGetPlainErrors)
{
    const QTemporaryDir dir;
    const QString missing = dir.filePath("none.bmp");
    EXPECT_EQ(loadPictureFile(missing).error, "cannot open " + missing + ": no such file");
    EXPECT_EQ(loadPictureFile(dir.path()).error, "cannot open " + dir.path() + ": it is a folder");

    const QString text = dir.filePath("notes.gif");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some words\n");
    file.close();
    EXPECT_EQ(loadPictureFile(text).error, text + " is not a picture in a known format");
}

TEST_F(MetafilePicture, OversizePicturesAreRefusedBeforeDecoding)
{
    for (const char* name : {"huge.bmp", "huge.png"}) {
        const QString path = picture(name);
        EXPECT_TRUE(loadPictureFile(path).error.startsWith(
            path + " is too large: 100000 x 100000 pixels (at most 32767"))
            << loadPictureFile(path).error.toStdString();
    }
    // A frame of 100 x 100 metres.
    EXPECT_TRUE(
        loadPictureFile(picture("huge.emf")).error.contains("is too large: 377953 x 377953"))
        << loadPictureFile(picture("huge.emf")).error.toStdString();
    EXPECT_TRUE(pictureSizeAllowed(16000, 16000));
    EXPECT_FALSE(pictureSizeAllowed(32768, 10));
}

} // namespace
} // namespace tilemond
