#include "tilemond_run.h"

#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilemond::app {
namespace {

// Pages and folders set up as an attacker or an unlucky user would: links out of the page's
// folder, files that are no page, things that are no regular file, a second run at once.
class HostilePathsTest : public TilemondRun
{
protected:
    void link(const QString& target, const QString& name) const
    {
        ASSERT_TRUE(QFile::link(target, path(name)));
    }
};

TEST_F(HostilePathsTest, NoFileLeavesThePagesFolderThroughALinkNorIsWrittenThroughOne)
{
    link("/etc/passwd", "site/secret.png");
    link("/etc", "site/etc");
    writeFile("site/notes.png", "words, not a picture");
    writeFile("site/page.html", "<body><img src=\"banner.png\"><img src=\"secret.png\">"
                                "<img src=\"etc/passwd\"><img src=\"notes.png\"></body>");
    Result result = run({"split", "site/page.html", "--image", "0", "--vertical", "100", "--output",
                         "out/page.html"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QFileInfo(path("out/page_files")).isDir());
    EXPECT_FALSE(QFileInfo::exists(path("out/secret.png")));
    EXPECT_FALSE(QFileInfo::exists(path("out/etc")));
    EXPECT_FALSE(QFileInfo::exists(path("out/notes.png")));
    // The copy names the files left behind where they are, and the user hears why.
    const QByteArray page = read("out/page.html");
    EXPECT_TRUE(page.contains("src=\"../site/secret.png\"") &&
                page.contains("src=\"../site/etc/passwd\"") &&
                page.contains("src=\"../site/notes.png\""))
        << page.toStdString();
    EXPECT_TRUE(result.err.contains("\"secret.png\" was not copied beside the page: it is a "
                                    "link that leads out of the page's folder"))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("\"notes.png\" was not copied beside the page: it is not a "
                                    "picture"));

    // Pieces never go through a link, not even into a folder of the user's.
    QDir().mkpath(path("elsewhere"));
    link("../elsewhere", "site/index_files");
    const auto before = snapshot();
    result = run({"split", "site/index.html", "--image", "0", "--vertical", "100"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("index_files\": it is a link")) << result.err.toStdString();
    EXPECT_EQ(snapshot(), before);
}

// Each failure says why, every character of the names it gives shown, and changes nothing.
TEST_F(HostilePathsTest, OnlyRegularFilesAreWrittenOnlyTextPagesReadAndEachFailureSaysWhy)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.html")).constData(), 0600), 0);
    link("nowhere/page.html", "dangling.html");
    QFile::copy(path("site/banner.png"), path("banner.png"));
    // A NUL and an escape in a picture's name (far enough in for the page to be text).
    writeFile("site/odd.html",
              QByteArray(5000, ' ') + QByteArray("<img src=\"a\0b\x1b[2J.png\">", 24));
    writeFile("site/one.html", "<img src=banner.png>");
    writeFile("file", "x");
    const auto before = snapshot();
    const std::pair<QStringList, QString> cases[] = {
        {{"split", "site/index.html", "--image", "0", "--output", "pipe.html"},
         "\"pipe.html\": it is not a regular file"},
        {{"split", "site/index.html", "--image", "0", "--output", "dangling.html"},
         "\"dangling.html\": it is a link to nothing"},
        {{"split", "banner.png", "--picture", "site/photo.png", "--vertical", "100"},
         "\"banner.png\": it is not a page"},
        {{"split", "site/odd.html", "--image", "0"}, "\"a\\x00b\\x1b[2J.png\" cannot be read"},
        {{"split", "site/one.html", "--image", "1"}, "no picture 1 (its one picture is number 0)"},
        {{"split", "site/one.html", "--image", "0", "--output", "file/in/page.html"},
         "a file is in the way:"},
    };
    for (const auto& [arguments, named] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(named) && result.err.endsWith('\n'))
            << result.err.toStdString();
    }
    EXPECT_EQ(snapshot(), before);

    // A page whose name starts with a dash, after the end of the options.
    QFile::copy(path("site/index.html"), path("-x.html"));
    EXPECT_EQ(run({"split", "--image", "0", "--vertical", "100", "--", "-x.html"}).exitCode, 0);
}

// Root may save over a read-only page, which must stay read-only.
TEST_F(HostilePathsTest, ASavedPageKeepsItsPermissions)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root writes over a read-only page";
    const QByteArray page = QFile::encodeName(path("site/index.html"));
    ASSERT_EQ(::chmod(page.constData(), 0444), 0);
    ASSERT_EQ(run({"split", "site/index.html", "--image", "0", "--vertical", "100"}).exitCode, 0);
    struct stat status
    {
    };
    ASSERT_EQ(::stat(page.constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0444u);
}

// A second run on the page waits for the first, and then splits the page the first saved:
// neither's work is lost.
TEST_F(HostilePathsTest, TwoRunsOnOnePageTakeTurns)
{
    const QByteArray page = QFile::encodeName(path("site/index.html"));
    const int held = ::open(page.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    QProcess second;
    second.setReadChannel(QProcess::StandardError);
    start(second, {"split", path("site/index.html"), "--image", "0", "--vertical", "100"});
    QByteArray told;
    while (!told.contains("waiting") && second.waitForReadyRead(60000))
        told += second.readAllStandardError();
    EXPECT_TRUE(told.contains("is being split by another run; waiting")) << told.toStdString();

    // The first run saves its page (a new file under the name) and lets go.
    QSaveFile first(path("site/index.html"));
    ASSERT_TRUE(first.open(QIODevice::WriteOnly));
    first.write(read("site/index.html").replace("<p>", "<p class=first>"));
    ASSERT_TRUE(first.commit());
    ::close(held);

    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    const QByteArray saved = read("site/index.html");
    EXPECT_TRUE(saved.contains("<p class=first>") && saved.contains("index_files/image002.png"));
}

// A run killed in the middle of a split leaves the page and the pieces it names as they were;
// the pieces it had cut wait in hidden files beside the page. The next run there removes them,
// and what a save killed midway left unfinished, and numbers its pieces as if neither had been.
TEST_F(HostilePathsTest, ARunKilledWhileItSplitsLosesNothingAndTheNextClearsItsFilesAway)
{
    QImage picture(1200, 900, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(path("site/big.png")));
    writeFile("site/big.html", "<body><img id=a src=big.png><img id=b src=big.png></body>");
    const auto split = [](const QString& id) {
        const QString cuts = "100,200,300,400,500,600,700,800";
        return QStringList{"split",      "site/big.html",    "--id",         id,
                           "--vertical", cuts + ",900,1000", "--horizontal", cuts};
    };
    ASSERT_EQ(run(split("a")).exitCode, 0);
    const auto saved = snapshot();

    QProcess killed;
    start(killed, split("b"));
    const auto unsaved = [&] {
        return QDir(path("site")).entryList({".tilemond-pasted-*"}, QDir::Files | QDir::Hidden);
    };
    while (unsaved().isEmpty() && !killed.waitForFinished(1)) {
    }
    killed.kill();
    killed.waitForFinished();
    ASSERT_FALSE(unsaved().isEmpty()) << "the run ended before it cut a piece";
    auto after = snapshot();
    for (const QString& file : unsaved())
        after.remove("site/" + file);
    EXPECT_EQ(after, saved);

    QDir().mkpath(path("site/index_files"));
    writeFile("site/index_files/.image001.png.tilemond-unfinished", "half a pic");
    ASSERT_EQ(run({"split", "site/index.html", "--image", "0", "--vertical", "100"}).exitCode, 0);
    EXPECT_TRUE(unsaved().isEmpty());
    EXPECT_EQ(QDir(path("site/index_files")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"image001.png", "image002.png"}));
}

} // namespace
} // namespace tilemond::app
