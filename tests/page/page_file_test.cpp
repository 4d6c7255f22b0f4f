#include "host/host_fixture.h"

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

} // namespace
} // namespace tilemond::host
