#include "platform/clipboard_picture.h"
#include "platform/prompts.h"
#include "platform/rounding.h"
#include "platform/screen_metrics.h"

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

TEST(Screen, TwipsPerPixelFollowTheOverride)
{
    Screen::overrideTwipsPerPixel(15, 12);
    EXPECT_FLOAT_EQ(Screen::twipsPerPixelX(), 15);
    EXPECT_FLOAT_EQ(Screen::twipsPerPixelY(), 12);
    Screen::clearOverride();
    EXPECT_GT(Screen::twipsPerPixelX(), 0);
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

TEST(SystemClipboard, HoldsOnePictureAtATime)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    SystemClipboard::setPicture(picture);
    const QImage back = SystemClipboard::picture();
    ASSERT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixel(2, 1), qRgb(10, 20, 30));
    SystemClipboard::clear();
    EXPECT_TRUE(SystemClipboard::picture().isNull());
}

} // namespace
} // namespace tilemond
