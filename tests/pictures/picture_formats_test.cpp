// Pasted pictures written as PNG, indexed PNG, JPEG or WebP: the files and their names. How close
// each format's pieces come to the picture: the batch tests.
#include "host/host_fixture.h"
#include "pictures/picture_format_setting.h"
#include "platform/clipboard_picture.h"
#include "support/picture_quality.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>

namespace tilemond::host {
namespace {

// Blocks of up to 200 colours in no order, as a chart or a screenshot has them.
QImage fewColours(int width, int height, int colours = 200)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int n =
                int((unsigned(x / 2) * 2654435761u ^ unsigned(y / 2) * 40503u) % unsigned(colours));
            picture.setPixel(x, y, qRgb(n % 256, n * 5 % 256, n < 256 ? 10 : 200));
        }
    return picture;
}

// The colour type byte of a PNG's header: 3 for a palette, 2 and 6 for red, green and blue.
int pngColourType(const std::string& file)
{
    return file.size() > 25 && file.starts_with("\x89PNG") ? file[25] : -1;
}

class PictureFormatsTest : public HostFixture
{
protected:
    // Pastes each picture into an empty page and saves it in the format; gives the srcs.
    std::vector<QString> pasteAndSave(const std::vector<QImage>& pictures,
                                      const PictureFormat& format)
    {
        openPage("<body></body>");
        host->setPictureFormat(format);
        for (const QImage& picture : pictures) {
            SystemClipboard::setPicture(picture);
            host->paste();
        }
        EXPECT_EQ(host->save(), Outcome<void>());
        return srcs();
    }

    std::vector<QString> srcs()
    {
        std::vector<QString> found;
        const auto images = document()->images();
        for (int n = 0; n < images->length(); ++n)
            found.push_back(
                QString::fromStdString(images->item(n)->getAttribute("src").value_or("")));
        return found;
    }

    QImage saved(const QString& src) { return QImage(dir.filePath(src)); }
};

// JPEG would put see-through pixels on white: pictures with any keep them in PNG.
TEST_F(PictureFormatsTest, AutoTakesPngForFewColoursOrSeeThroughPixelsAndJpegForOthers)
{
    QImage seeThrough = fewColours(20, 10, 3);
    seeThrough.setPixel(0, 0, qRgba(10, 20, 30, 128));
    QImage seeThroughPhoto = photoLike(40, 30).convertToFormat(QImage::Format_ARGB32);
    seeThroughPhoto.setPixel(5, 5, qRgba(10, 20, 30, 0));
    const auto names = pasteAndSave({fewColours(120, 90), photoLike(40, 30),
                                     fewColours(120, 90, 257), seeThrough, seeThroughPhoto},
                                    {PictureType::Auto, 80});
    ASSERT_EQ(names.size(), 5u);
    for (int n : {1, 2}) {
        EXPECT_TRUE(names[n].endsWith(".jpg")) << names[n].toStdString();
        EXPECT_EQ(QImageReader(dir.filePath(names[n])).format(), "jpeg");
    }
    EXPECT_EQ(pngColourType(read(dir.filePath(names[0]))), 3);
    EXPECT_EQ(pngColourType(read(dir.filePath(names[3]))), 3);
    EXPECT_EQ(pngColourType(read(dir.filePath(names[4]))), 6);
    EXPECT_TRUE(samePixels(saved(names[4]), seeThroughPhoto));
}

// Saturated colours meeting at sharp edges, as in charts and logos: JPEG keeps their colour at
// full resolution from quality 90 up.
TEST_F(PictureFormatsTest, JpegKeepsColouredDrawingsCloseFromQuality90Up)
{
    QImage drawing(240, 160, QImage::Format_RGB32);
    drawing.fill(Qt::white);
    QPainter painter(&drawing);
    const QColor colours[] = {Qt::red, Qt::blue, QColor(0, 160, 0), QColor(255, 200, 0)};
    for (int n = 0; n < 12; ++n) {
        painter.setBrush(colours[n % 4]);
        painter.setPen(QPen(colours[(n + 1) % 4], 2));
        painter.drawEllipse(QRect(n * 17 % 200, n * 29 % 120, 40, 30));
    }
    painter.setPen(Qt::magenta);
    painter.drawText(QRect(10, 60, 220, 40), Qt::AlignCenter, QStringLiteral("Quarterly sales"));
    painter.end();
    const auto names = pasteAndSave({drawing}, {PictureType::Jpeg, 90});
    ASSERT_EQ(names.size(), 1u);
    // 37 dB; 22 with colour at half resolution.
    EXPECT_GE(psnr(drawing, saved(names[0])), 36);
}

// Indexed only where every pixel stays as it was, see-through ones too.
TEST_F(PictureFormatsTest, PngIsIndexedWhereThatKeepsEveryPixelAndIsSmaller)
{
    QImage seeThrough = fewColours(120, 90, 50);
    for (int x = 0; x < 120; ++x) {
        seeThrough.setPixel(x, 0, qRgba(200, 0, 0, 100));
        seeThrough.setPixel(x, 1, qRgba(x % 30, 0, 0, 0));
    }
    const std::vector<QImage> pictures = {fewColours(120, 90), fewColours(120, 90, 257), seeThrough,
                                          photoLike(40, 30)};
    const auto names = pasteAndSave(pictures, {PictureType::Png, 90});
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(pngColourType(read(dir.filePath(names[0]))), 3);
    EXPECT_NE(pngColourType(read(dir.filePath(names[1]))), 3);
    EXPECT_EQ(pngColourType(read(dir.filePath(names[2]))), 3);
    EXPECT_NE(pngColourType(read(dir.filePath(names[3]))), 3);
    for (std::size_t n = 0; n < pictures.size(); ++n)
        EXPECT_TRUE(samePixels(saved(names[n]), pictures[n])) << names[n].toStdString();
}

TEST_F(PictureFormatsTest, NamesPassOverFilesAndPicturesOfTheirOwnExtension)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("index_files"));
    write("index_files/image001.jpg", "taken");
    openPage("<body><img src=\"index_files/image002.jpg\"></body>");
    host->setPictureFormat({PictureType::Jpeg, 90});
    for (int n = 0; n < 2; ++n) {
        SystemClipboard::setPicture(photoLike(16, 8));
        host->paste();
    }
    ASSERT_EQ(host->save(), Outcome<void>());
    const auto names = srcs();
    EXPECT_EQ(names, (std::vector<QString>{"index_files/image002.jpg", "index_files/image003.jpg",
                                           "index_files/image004.jpg"}));
    EXPECT_EQ(read(dir.filePath("index_files/image001.jpg")), "taken");
}

// The format chosen for a save holds for pictures pasted before it was chosen.
TEST_F(PictureFormatsTest, ASaveInAnotherFormatRenamesThePiecesAndWritesThemInIt)
{
    openPage("<body></body>");
    const QImage photo = photoLike(48, 32);
    SystemClipboard::setPicture(photo);
    host->paste();
    EXPECT_NE(host->source().find("index_files/image001.png"), std::string::npos);
    host->setPictureFormat({PictureType::Webp, 100});
    ASSERT_EQ(host->saveAs(dir.filePath("copy.html")), Outcome<void>());
    EXPECT_EQ(srcs(), std::vector<QString>{"copy_files/image001.webp"});
    EXPECT_TRUE(samePixels(saved("copy_files/image001.webp"), photo));
    EXPECT_FALSE(QFile::exists(dir.filePath("copy_files/image001.png")));
}

// A kept format is remembered: the Save As test of the desktop.
TEST_F(PictureFormatsTest, ARememberedFormatThatIsNotValidIsPng)
{
    const QString config = dir.filePath("config");
    ASSERT_TRUE(QDir(dir.path()).mkpath("config"));
    write("config/host.ini", "[pasted_pictures]\nformat=gif\nquality=50\n");
    EXPECT_EQ(rememberedPictureFormat(config), PictureFormat{});
    write("config/host.ini", "[pasted_pictures]\nformat=jpeg\nquality=101\n");
    EXPECT_EQ(rememberedPictureFormat(config), PictureFormat{});
}

} // namespace
} // namespace tilemond::host
