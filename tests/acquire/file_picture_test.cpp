#include "acquire/command8.h"
#include "acquire_fixture.h"

#include <QPushButton>
#include <QTemporaryDir>

namespace tilemond {
namespace {

using PictureFromFile = AcquireTest;

TEST_F(PictureFromFile, DecliningOrFailingTheOfferAtLoadLeavesNoPicture)
{
    const QString broken = testPicture("truncated.png");
    // A cancelled or empty choice is Command8's case below: the same routine.
    for (const std::optional<FileChoice>& choice :
         std::vector<std::optional<FileChoice>>{std::nullopt, FileChoice{false, broken}}) {
        ScriptedPrompts scripted;
        installPrompts(&scripted);
        scripted.answerMessage(choice ? MsgBox::Yes : MsgBox::No);
        if (choice)
            scripted.answerFile(*choice);
        const QSizeF designTwips = previewTwips();
        const QImage design = frmPreview().image().copy();
        openEditor(); // no page in the host
        EXPECT_TRUE(frmFilters().NoGraphic);
        EXPECT_TRUE(frmFilters().Picture1->picture().isNull());
        EXPECT_EQ(previewTwips(), designTwips);
        EXPECT_EQ(frmPreview().image(), design);
        EXPECT_EQ(scripted.asked().size(), choice ? 3u : 1u);
        EXPECT_TRUE(!choice || scripted.asked().back().text.contains(broken + " is damaged"));
        closeEditor();
    }
}

TEST_F(PictureFromFile, EveryFormatIsShownOneToOneAndReplacesMarkersAndPicture)
{
    QTemporaryDir folder;
    const QImage wide = patternPicture({100, 50}, 1);
    ASSERT_TRUE(wide.save(folder.filePath("wide.png")));
    const QImage design = frmPreview().image().copy();
    answers.answerMessage(MsgBox::Yes);
    answers.answerFile({false, folder.filePath("wide.png")});
    openEditor();
    EXPECT_EQ(frmPreview().size(), QSize(120, 70));
    EXPECT_TRUE(showsOneToOne(frmPreview().image(), wide));

    // Each format's decoding is the picture file tests' to check: here a raster and each metafile.
    for (const char* file : {"drawing.emf", "quadrants.wmf", "quadrants.png"}) {
        SCOPED_TRACE(file);
        for (QPushButton* add : {frmFilters().Command1, frmFilters().Command2})
            add->click();
        frmFilters().NoGraphic = true;
        answers.answerFile({false, testPicture(file)});
        frmFilters().Command8->click();
        EXPECT_FALSE(frmFilters().NoGraphic);
        EXPECT_EQ(frmFilters().VMarkerLast, -1);
        EXPECT_EQ(frmFilters().HMarkerLast, -1);
        EXPECT_FALSE(frmPreview().Hori1[0].isVisible() || frmPreview().Vert1[0].isVisible());
        // A metafile is measured in inches: on this screen of more pixels per inch down than
        // across it stands taller (60 pixels at 96 per inch become 75 at 120).
        const QSize size = QString(file).endsWith("emf")   ? QSize(80, 75)
                           : QString(file).endsWith("wmf") ? QSize(40, 38)
                                                           : QSize(40, 30);
        EXPECT_EQ(frmFilters().Picture1->picture().size(), size);
        EXPECT_EQ(frmPreview().size(), size + QSize(20, 20));
        for (const QImage& shown : {picture1(), frmPreview().image()}) {
            EXPECT_EQ(shown.pixel(3, 3), qRgb(255, 0, 0));
            EXPECT_EQ(shown.pixel(size.width() - 5, size.height() - 4), qRgb(255, 255, 0));
        }
    }
    // Below the smaller picture the splash shows again, not the wide picture.
    EXPECT_EQ(frmPreview().image().pixel(10, 45), design.pixel(10, 45));
}

TEST_F(PictureFromFile, Command8CancelledOrWithAnUnusableFileChangesNothing)
{
    answers.answerMessage(MsgBox::Yes);
    answers.answerFile({false, testPicture("quadrants.png")});
    openEditor();
    frmFilters().Command1->click();
    frmFilters().Command2->click();
    const auto state = [] {
        return std::tuple(picture1().copy(), frmPreview().image().copy(), previewTwips(),
                          frmFilters().HMarkerLast, frmFilters().VMarkerLast);
    };
    const auto before = state();
    const QStringList unusable = {"garbage.bmp", "truncated.emf", "huge.png", "missing.bmp"};
    for (const QString& name : unusable) {
        answers.answerFile({false, testPicture(name)});
        Command8_Click();
        EXPECT_TRUE(answers.asked().back().text.contains(testPicture(name)));
    }
    answers.answerFile({});
    Command8_Click();
    answers.answerFile({false, {}});
    Command8_Click();
    EXPECT_EQ(answers.asked().size(), 2 + 2u * unusable.size() + 2);
    EXPECT_TRUE(state() == before);
}

} // namespace
} // namespace tilemond
