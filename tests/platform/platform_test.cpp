#include "platform/prompts.h"
#include "platform/rounding.h"

#include <gtest/gtest.h>
#include <limits>

namespace tilemond {
namespace {

TEST(Rounding, TiesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundToEven(100.5), 100);
    EXPECT_EQ(roundToEven(101.5), 102);
    EXPECT_EQ(roundToEven(-2.5), -2);
    EXPECT_EQ(roundToEven(2.4999), 2);
    EXPECT_EQ(roundToEven(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(roundToEven(-1e300), std::numeric_limits<int>::min());
}

TEST(ScriptedPrompts, AnswersInOrderThenFallsBackToDefaults)
{
    ScriptedPrompts scripted;
    scripted.answerMessage(MsgBox::Yes);
    scripted.answerFile({false, "/tmp/a.bmp"});
    installPrompts(&scripted);
    EXPECT_EQ(prompts().messageBox("q", "t", MsgBox::YesNo | MsgBox::Question), MsgBox::Yes);
    EXPECT_EQ(prompts().messageBox("q", "t", MsgBox::YesNo | MsgBox::Question), MsgBox::No);
    EXPECT_EQ(prompts().messageBox("i", "t", MsgBox::Information), MsgBox::Ok);
    EXPECT_EQ(prompts().openFile("f", "Graphic Formats", {"*.bmp"}).path, "/tmp/a.bmp");
    EXPECT_TRUE(prompts().openFile("f", "Graphic Formats", {"*.bmp"}).cancelled);
    EXPECT_FALSE(prompts().chooseColor(Qt::red).has_value());
    installPrompts(nullptr);

    ASSERT_EQ(scripted.asked().size(), 6u);
    EXPECT_EQ(scripted.asked()[0].style, 36);
    EXPECT_EQ(scripted.asked()[3].kind, ScriptedPrompts::Asked::File);
}

} // namespace
} // namespace tilemond
