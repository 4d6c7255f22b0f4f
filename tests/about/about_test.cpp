#include "about/gen_about.h"
#include "platform/screen_metrics.h"
#include "platform/shell_launch.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace tilemond;

namespace {

class AboutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Screen::overrideTwipsPerPixel(15, 15);
        installShellLauncher(&m_launcher);
    }
    void TearDown() override
    {
        installShellLauncher(nullptr);
        Screen::clearOverride();
    }

    RecordingShellLauncher m_launcher;
};

template <typename T> T* control(const QWidget& box, const char* name)
{
    T* found = box.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The user cannot resize the box, and its picture is there.
TEST_F(AboutTest, IsAFixedBoxWithItsPicture)
{
    GenAbout box;
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(control<QLabel>(box, "Image2")->pixmap().isNull());
}

// Focus starts on Close, Tab moves it to On the Web; that button and the credit line open the web
// site and leave the box open; Close closes it.
TEST_F(AboutTest, OnTheWebAndTheCreditLineOpenTheWebSiteAndCloseEndsTheBox)
{
    GenAbout box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>(box, "Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>(box, "Command2"));

    QTest::mouseClick(control<QPushButton>(box, "Command2"), Qt::LeftButton);
    QTest::mouseClick(control<QLabel>(box, "Label18"), Qt::LeftButton);
    QTest::mouseClick(control<QLabel>(box, "Label18"), Qt::RightButton);
    EXPECT_TRUE(box.isVisible());
    QTest::mouseClick(control<QPushButton>(box, "Command1"), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(m_launcher.opened(), QStringList(2, QString::fromLatin1(MakerWebSite)));
}

// Only a real address goes to the browser as it is; a path becomes a file address, and a missing
// file is not handed on at all.
TEST(QtShellLauncherTest, AddressesStayPathsBecomeFileUrlsAndMissingFilesFailQuietly)
{
    EXPECT_EQ(QtShellLauncher::urlFor("https://www.korvimedia.com/tilemond"),
              QUrl("https://www.korvimedia.com/tilemond"));
    EXPECT_EQ(QtShellLauncher::urlFor("Help/index.htm"),
              QUrl::fromLocalFile(QDir::current().absoluteFilePath("Help/index.htm")));
    QtShellLauncher launcher;
    EXPECT_EQ(launcher.open(""), ShellResult::FileNotFound);
    EXPECT_EQ(launcher.open("/no/such/folder/Help/index.htm"), ShellResult::FileNotFound);
}

} // namespace
