#include "pictures/picture_file.h"
#include "platform/held_picture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace tilemond::bench {
namespace {

// A 4000 x 3000 PNG as libpng writes it (8 KB IDAT chunks, a filter chosen for each row): smooth
// like a photo (range(0) == 0) or noise that hardly compresses (1).
QByteArray pngPicture(bool noise)
{
    QImage picture(4000, 3000, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = noise ? random() | 0xff000000
                            : qRgb(int(127 + 120 * std::sin(x / 300.0 + y / 700.0)),
                                   int(127 + 120 * std::cos(y / 250.0)) ^ int(random() % 4),
                                   (x + y) / 30 % 256);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(picture);
    return buffer.data();
}

// The picture's decoding as the split reads it (range(1) == 0), and through Qt's reader alone as
// it was read before (1).
void BM_PngDecode(benchmark::State& state)
{
    const QByteArray png = pngPicture(state.range(0) == 1);
    for (auto _ : state) {
        const QImage image = state.range(1) == 0
                                 ? loadPictureData(png, "bench.png").value_or(QImage())
                                 : heldPicture(QImage::fromData(png, "png"));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PngDecode)
    ->ArgNames({"noise", "qt"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tilemond::bench
