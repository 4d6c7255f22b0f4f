#include "app/command_line.h"
#include "tilemond_run.h"

namespace tilemond::app {
namespace {

// The split's options reach the batch tests through the program; these do not show there.
TEST(CommandLineTest, ReadsTheDesktopsPageAndTheLimitOnPixels)
{
    EXPECT_EQ(parseCommandLine({})->command, Command::Desktop);
    EXPECT_EQ(parseCommandLine({"page.html"})->page, "page.html");
    for (const QStringList& arguments :
         {QStringList{"--max-pixels", "300000000", "page.html"},
          QStringList{"split", "p.html", "--max-pixels=300000000", "--image", "0"}})
        EXPECT_EQ(parseCommandLine(arguments)->maxPixels, 300000000);
}

TEST(CommandLineTest, UsageErrorsNameTheBadArgument)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"split", "p.html"}, "exactly one of --image"},
        {{"split", "p.html", "--image", "0", "--picture", "x.png"}, "exactly one of --image"},
        {{"split", "--image", "0"}, "needs a PAGE"},
        {{"split", "p.html", "q.html", "--image", "0"}, "'q.html'"},
        {{"split", "p.html", "--image", "first"}, "'first'"},
        {{"split", "p.html", "--image"}, "--image needs a value"},
        {{"split", "p.html", "--image", "0", "--vertical", "10,,20"}, "'10,,20'"},
        {{"split", "p.html", "--image", "0", "--horizontal", "0"}, "--horizontal"},
        {{"split", "p.html", "--image", "0", "--table=yes"}, "--table takes no value"},
        {{"split", "p.html", "--image", "0", "--image", "1"}, "--image is given twice"},
        {{"split", "p.html", "--image", "0", "--format", "JPEG"}, "webp or auto, not 'JPEG'"},
        {{"split", "p.html", "--image", "0", "--quality", "0"}, "--quality needs"},
        {{"split", "p.html", "--image", "0", "--quality=101"}, "'101'"},
        {{"register", "now"}, "'now'"},
        {{"--max-pixels", "0"}, "--max-pixels needs a number of pixels from 1 to 1073741824"},
        {{"split", "p.html", "--image", "0", "--max-pixels"}, "--max-pixels needs a value"},
        {{"--frob"}, "'--frob'"},
        {{"a.html", "b.html"}, "'b.html'"},
    };
    for (const auto& [arguments, named] : cases) {
        const auto parsed = parseCommandLine(arguments);
        ASSERT_FALSE(parsed) << arguments.join(' ').toStdString();
        EXPECT_TRUE(parsed.error().contains(named))
            << arguments.join(' ').toStdString() << ": " << parsed.error().toStdString();
    }
}

using ProgramTest = TilemondRun;

TEST_F(ProgramTest, UsageErrorsExitTwoAndHelpAndVersionAnswer)
{
    const Result bad = run({"split", "site/index.html", "--image", "x"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("tilemond --help")) << bad.err.toStdString();

    const Result help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("tilemond split PAGE"));
    EXPECT_TRUE(run({"--version"}).out.startsWith("tilemond 1."));
}

} // namespace
} // namespace tilemond::app
