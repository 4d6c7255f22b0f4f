#include "tilemond_run.h"

#include <QImage>

namespace tilemond::app {
namespace {

using LoadLimitsTest = TilemondRun;

QString cutsAcross(int count, int length)
{
    QStringList cuts;
    for (int i = 1; i <= count; ++i)
        cuts << QString::number(i * length / (count + 1));
    return cuts.join(',');
}

// Into a table or into lines, the same number of pieces at most.
TEST_F(LoadLimitsTest, TooManyPiecesAreRefusedAtOnceAndThePageStaysAsItWas)
{
    QImage picture(400, 400, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(path("grid.png")));
    const auto before = snapshot();

    for (const bool table : {true, false}) {
        QStringList split = {"split",        "site/index.html",   "--picture",
                             "grid.png",     "--vertical",        cutsAcross(316, 400),
                             "--horizontal", cutsAcross(315, 400)};
        if (table)
            split << "--table";
        const Result result = run(split);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(
            result.err.contains("Too many pieces: 317 x 316 = 100172. At most 100000 pieces"))
            << result.err.toStdString();
        EXPECT_EQ(snapshot(), before);
    }
}

} // namespace
} // namespace tilemond::app
