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
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.error().contains("nowhere.html") &&
                missing.error().contains("no such file"))
        << missing.error().toStdString();
    const auto folder = host->open(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_TRUE(folder.error().contains("folder"));
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
    ASSERT_FALSE(onFolder);
    EXPECT_TRUE(onFolder.error().contains("taken.html") && onFolder.error().contains("folder"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("taken_files")));

    EXPECT_EQ(read(pagePath), "<body>old</body>");
    EXPECT_EQ(host->pagePath(), pagePath);
    EXPECT_TRUE(host->hasUnsavedChanges());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("index_files")));
}

} // namespace
} // namespace tilemond::host
