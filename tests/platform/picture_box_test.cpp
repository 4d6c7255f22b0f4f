#include "platform/persistent_surface.h"
#include "platform/picture_box.h"
#include "platform/rectangle_copy.h"
#include "platform/screen_metrics.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace tilemond {
namespace {

class PictureBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { Screen::overrideTwipsPerPixel(15, 12); }
    void TearDown() override { Screen::clearOverride(); }
};

QImage solid(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture that fills the box is not copied into it: drawing on either side must not reach the
// other.
TEST_F(PictureBoxTest, DrawingNeverReachesThePictureItShows)
{
    const QImage picture = solid(4, 2, qRgb(9, 9, 9));
    PictureBox box(Qt::white);
    box.setAutoSize(true);
    box.setPicture(picture);
    copyRectangle(box.image(), 0, 0, 1, 1, solid(1, 1, qRgb(200, 0, 0)), 0, 0);
    EXPECT_EQ(box.image().pixel(0, 0), qRgb(200, 0, 0));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(9, 9, 9));
    box.Cls();
    EXPECT_EQ(box.image().pixel(0, 0), qRgb(9, 9, 9));

    PictureBox copy(Qt::white);
    copy.setWidth(4);
    copy.setHeight(2);
    copyRectangle(copy.image(), 0, 0, 4, 2, box.image(), 0, 0); // covers it whole
    copyRectangle(box.image(), 3, 1, 1, 1, solid(1, 1, qRgb(0, 0, 200)), 0, 0);
    EXPECT_EQ(copy.image().pixel(3, 1), qRgb(9, 9, 9));
    EXPECT_EQ(box.image().pixel(3, 1), qRgb(0, 0, 200));
}

// A whole picture copied to the top-left corner is kept shared until something else is drawn: the
// surface must look and behave exactly as if it had been copied.
TEST_F(PictureBoxTest, ACopyToTheTopLeftCornerActsAsACopy)
{
    const QRgb background = qRgb(1, 2, 3), grey = qRgb(9, 9, 9), red = qRgb(200, 0, 0);
    const auto painted = [](const PersistentSurface& surface) {
        QImage image(surface.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        surface.paint(painter);
        return image;
    };
    const QImage picture = solid(4, 3, grey);
    PersistentSurface surface(QColor(background), QSize(6, 4));
    surface.copyToTopLeft(picture);
    surface.copyToTopLeft(solid(1, 1, red)); // on top of the first, which shows around it
    const QImage expected = painted(surface);
    EXPECT_EQ(expected.pixel(0, 0), red);
    EXPECT_EQ(expected.pixel(3, 2), grey);
    EXPECT_EQ(expected.pixel(5, 3), background);
    EXPECT_EQ(surface.image(), expected);
    copyRectangle(surface.image(), 3, 2, 1, 1, solid(1, 1, red), 0, 0);
    EXPECT_EQ(picture.pixel(3, 2), grey);

    surface.clear();
    EXPECT_EQ(painted(surface).pixel(0, 0), background);
    surface.copyToTopLeft(picture);
    surface.resize(QSize(2, 2)); // what falls outside is gone for good
    surface.resize(QSize(6, 4));
    EXPECT_EQ(painted(surface).pixel(3, 2), background);
    EXPECT_EQ(painted(surface).pixel(1, 1), grey);
    EXPECT_EQ(surface.image(), painted(surface));
}

// What is drawn stays until cleared. See-through pixels stay so on the surface that holds them (and
// in a piece copied elsewhere: see RectangleCopy); where it is painted, the background shows.
TEST_F(PictureBoxTest, KeepsWhatIsDrawnAndSeeThroughPixelsUntilCleared)
{
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(250, 5, 5, 0));
    picture.setPixel(1, 0, qRgba(40, 50, 60, 128));
    PictureBox box(QColor(0, 0, 255));
    box.setAutoSize(true);
    box.setPicture(picture);
    EXPECT_EQ(box.size(), QSize(2, 1));
    EXPECT_EQ(box.image().pixel(0, 0), qRgba(250, 5, 5, 0));
    box.setWidth(3);
    EXPECT_EQ(box.image().pixel(1, 0), qRgba(40, 50, 60, 128));
    EXPECT_EQ(box.image().pixel(2, 0), qRgb(0, 0, 255));
    copyRectangle(box.image(), 2, 0, 1, 1, solid(1, 1, qRgb(200, 0, 0)), 0, 0);
    box.Refresh();
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(2, 0), qRgb(200, 0, 0));

    box.Cls(); // the picture stays (see below), the rest takes the new colour
    box.setBackColor(QColor(0, 128, 128));
    EXPECT_EQ(box.image().pixel(2, 0), qRgb(0, 128, 128));
}

} // namespace
} // namespace tilemond
