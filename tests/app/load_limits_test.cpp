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

// Into lines, where each piece costs more the more there are, fewer are allowed than into a table.
TEST_F(LoadLimitsTest, TooManyPiecesAreRefusedAtOnceAndThePageStaysAsItWas)
{
    QImage picture(400, 400, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(path("grid.png")));
    const auto before = snapshot();

    Result result = run({"split", "site/index.html", "--picture", "grid.png", "--vertical",
                         cutsAcross(316, 400), "--horizontal", cutsAcross(315, 400), "--table"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("Too many pieces: 317 x 316 = 100172. At most 100000 pieces"))
        << result.err.toStdString();
    EXPECT_EQ(snapshot(), before);

    result = run({"split", "site/index.html", "--picture", "grid.png", "--vertical",
                  cutsAcross(49, 400), "--horizontal", cutsAcross(40, 400)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("Too many pieces: 50 x 41 = 2050. At most 2000 pieces"))
        << result.err.toStdString();
    EXPECT_EQ(snapshot(), before);
}

} // namespace
} // namespace tilemond::app
