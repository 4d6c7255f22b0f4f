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

TEST_F(LoadLimitsTest, TooManyPiecesAreRefusedAtOnceAndThePageStaysAsItWas)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(path("grid.png")));
    const auto before = snapshot();

    const Result result =
        run({"split", "site/index.html", "--picture", "grid.png", "--vertical",
             cutsAcross(100, 400), "--horizontal", cutsAcross(99, 300), "--table"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("Too many pieces: 101 x 100 = 10100. At most 10000 pieces"))
        << result.err.toStdString();
    EXPECT_EQ(snapshot(), before);
}

} // namespace
} // namespace tilemond::app
