#include "byte_reader.h"
#include "fuzz_checks.h"
#include "pictures/jpeg_writer.h"
#include "pictures/png_writer.h"

#include <QColorSpace>
#include <QImage>

namespace tilemond::fuzz {

void checkPieceFiles(const std::uint8_t* data, std::size_t size)
{
    ByteReader input(data, size);
    const int width = int(input.choose(1, 64));
    const int height = int(input.choose(1, 64));
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32,
                                      QImage::Format_Indexed8};
    const QImage::Format format = input.pick(formats);
    QImage picture(width, height, format);
    if (format == QImage::Format_Indexed8) {
        const int colours = int(input.choose(1, 256));
        for (int n = 0; n < colours; ++n)
            picture.setColor(n, QRgb(input.choose(0, 0xffffffff)));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, uint(input.choose(0, colours - 1)));
    } else {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y,
                                 QRgb(input.choose(0, 0xffffffff)) |
                                     (format == QImage::Format_RGB32 ? 0xff000000 : 0));
    }
    if (input.choose(0, 1))
        picture.setColorSpace(QColorSpace::DisplayP3);

    const QImage png = QImage::fromData(host::writePng(picture, int(input.choose(1, 12))), "png");
    require(png.convertToFormat(QImage::Format_ARGB32) ==
                picture.convertToFormat(QImage::Format_ARGB32),
            "a PNG holds every pixel as it was");
    require(png.colorSpace() == picture.colorSpace(), "a PNG holds the colour profile");
    const QImage jpeg =
        QImage::fromData(host::writeJpeg(picture, int(input.choose(1, 100))), "jpeg");
    require(jpeg.size() == picture.size() && jpeg.colorSpace() == picture.colorSpace(),
            "a JPEG holds a picture of the size and the colour profile");
}

} // namespace tilemond::fuzz
