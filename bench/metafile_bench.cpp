#include "pictures/picture_file.h"
#include "platform/screen_metrics.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <initializer_list>

namespace tilemond::bench {
namespace {

void put16(QByteArray& out, int value)
{
    out.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
}

// One record: its size in words, its function and its parameters (in the file's order).
void putRecord(QByteArray& out, int function, std::initializer_list<int> parameters)
{
    const int words = 3 + int(parameters.size());
    put16(out, words);
    put16(out, 0);
    put16(out, function);
    for (const int parameter : parameters)
        put16(out, parameter);
}

// A placeable metafile with a 600 x 450 frame at 96 units an inch (600 x 450 pixels on a 96 DPI
// screen) crossed by `lines` lines, each drawn with a pen as wide as the frame.
QByteArray wideLines(int lines)
{
    QByteArray wmf;
    const int placeable[10] = {0xcdd7, 0x9ac6, 0, 0, 0, 600, 450, 96, 0, 0};
    int checksum = 0;
    for (const int word : placeable) {
        put16(wmf, word);
        checksum ^= word;
    }
    put16(wmf, checksum);
    for (const int word : {1, 9, 0x0300, 0, 0, 1, 8, 0, 0}) // sizes filled in below
        put16(wmf, word);
    putRecord(wmf, 0x0103, {8}); // anisotropic mapping
    putRecord(wmf, 0x020b, {0, 0});
    putRecord(wmf, 0x020c, {450, 600});
    putRecord(wmf, 0x02fa, {0, 600, 0, 0x3366, 0x0099}); // solid pen, 600 wide
    putRecord(wmf, 0x012d, {0});
    for (int i = 0; i < lines; ++i) {
        putRecord(wmf, 0x0214, {(i * 53) % 450, 0});          // move to
        putRecord(wmf, 0x0213, {450 - (i * 29) % 450, 600});  // line to
    }
    putRecord(wmf, 0x0000, {});
    const int words = int(wmf.size() - 22) / 2;
    wmf[22 + 6] = char(words & 0xff);
    wmf[22 + 7] = char((words >> 8) & 0xff);
    wmf[22 + 8] = char((words >> 16) & 0xff);
    return wmf;
}

// Reads and draws a metafile of range(0) lines drawn with pens as wide as its frame.
void BM_WmfFrameWidePens(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("lines.wmf");
    QFile file(path);
    const QByteArray wmf = wideLines(int(state.range(0)));
    if (!file.open(QIODevice::WriteOnly) || file.write(wmf) != wmf.size()) {
        state.SkipWithError("cannot write the metafile");
        return;
    }
    file.close();
    Screen::overrideTwipsPerPixel(15, 15);
    for (auto _ : state) {
        const LoadedPicture picture = loadPictureFile(path);
        if (!picture) {
            state.SkipWithError(picture.error().toStdString().c_str());
            break;
        }
        benchmark::DoNotOptimize(picture->constBits());
    }
    Screen::clearOverride();
}
BENCHMARK(BM_WmfFrameWidePens)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tilemond::bench
