#include "host/host_fixture.h"
#include "platform/clipboard_picture.h"

#include <QDir>

namespace tilemond::host {
namespace {

using PageFileTest = HostFixture;

TEST_F(PageFileTest, OpenFailuresNameTheFileAndKeepThePreviousPage)
{
    openPage("<p>kept</p>");
    const auto missing = host->open(dir.filePath("nowhere.html"));
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->contains("nowhere.html") && missing->contains("no such file"))
        << missing->toStdString();
    const auto folder = host->open(dir.path());
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->contains("folder"));
    EXPECT_EQ(host->source(), "<p>kept</p>");
    EXPECT_EQ(host->pagePath(), pagePath);
}

TEST_F(PageFileTest, FailedSavesLeaveTheDiskAsItWasAndSayWhy)
{
    openPage("<body>old</body>");
    ASSERT_TRUE(selectionRange()->pasteHTML("new"));
    SystemClipboard::setPicture(QImage(2, 2, QImage::Format_RGB32));
    host->paste();

    // The page's name is a folder: the pictures get written, then removed again.
    ASSERT_TRUE(QDir(dir.path()).mkpath("taken.html"));
    const auto onFolder = host->saveAs(dir.filePath("taken.html"));
    ASSERT_TRUE(onFolder);
    EXPECT_TRUE(onFolder->contains("taken.html") && onFolder->contains("folder"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("taken_files")));

    EXPECT_EQ(read(pagePath), "<body>old</body>");
    EXPECT_EQ(host->pagePath(), pagePath);
    EXPECT_TRUE(host->hasUnsavedChanges());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("index_files")));
}

} // namespace
} // namespace tilemond::host
