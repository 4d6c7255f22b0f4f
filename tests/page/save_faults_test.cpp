#include "host/host_fixture.h"
#include "platform/clipboard_picture.h"

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace tilemond::host {
namespace {

// Saves that fail for reasons of the disk: each one says why, and leaves the folder exactly as
// it was, byte for byte, with no partial page, no stray piece and no file written over.
class SaveFaultsTest : public HostFixture
{
protected:
    // A page with an edit and a pasted picture, whose piece is written beside the page.
    void openEditedPage()
    {
        openPage("<body>\r\n<P>old</P>\r\n</body>");
        ASSERT_TRUE(selectionRange()->pasteHTML("new "));
        pasteNoise(8);
        ASSERT_TRUE(QTest::qWaitFor([&] { return unsavedFiles().size() == 1; }));
    }

    // Noise, so that a large picture's piece file is large.
    void pasteNoise(int side)
    {
        QImage noise(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                noise.setPixel(x, y, QRandomGenerator::global()->generate());
        SystemClipboard::setPicture(noise);
        host->paste();
    }

    // Every file under the folder with its bytes.
    std::map<QString, std::string> folderContent() const
    {
        std::map<QString, std::string> files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (!file.contains("/config/"))
                files[file] = read(file);
        }
        return files;
    }

    void expectRefusal(const Outcome<void>& saved, const std::vector<QString>& words,
                       const std::map<QString, std::string>& before)
    {
        ASSERT_FALSE(saved) << "the save succeeded";
        for (const QString& word : words)
            EXPECT_TRUE(saved.error().contains(word)) << saved.error().toStdString();
        EXPECT_EQ(folderContent(), before);
        EXPECT_TRUE(host->hasUnsavedChanges());
    }
};

TEST_F(SaveFaultsTest, AFolderThatCannotBeWrittenKeepsThePageAsItWas)
{
    openEditedPage();
    const auto before = folderContent();
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                      QFile::ReadGroup | QFile::ExeGroup |
                                                      QFile::ReadOther | QFile::ExeOther));
    // Root writes everywhere: the save runs as nobody.
    const bool asRoot = ::geteuid() == 0;
    ASSERT_TRUE(!asRoot || ::seteuid(65534) == 0);
    const Outcome<void> saved = host->save();
    ASSERT_TRUE(!asRoot || ::seteuid(0) == 0);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    expectRefusal(saved, {"index_files", "permission denied"}, before);
}

TEST_F(SaveFaultsTest, AFullDiskKeepsThePageAsItWasWhetherPieceOrPageDoesNotFit)
{
    // The file size limit stands for a full disk: a write past it fails with EFBIG.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto within = [&](rlim_t bytes, const std::function<void()>& step) {
        rlimit tight = old;
        tight.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &tight);
        step();
        ::setrlimit(RLIMIT_FSIZE, &old);
    };
    Outcome<void> saved;
    const auto save = [&] { saved = host->save(); };

    // A piece of about 160 KB finds no room beside the page at its paste either and waits in
    // memory.
    openPage("<body>\r\n<P>old</P>\r\n</body>");
    const auto before = folderContent();
    within(64 * 1024, [&] {
        pasteNoise(200);
        save();
    });
    expectRefusal(saved, {"image001.png", "File too large"}, before);

    // The pieces fit and the page does not: the piece written beside the page at its paste
    // stays there for the next save, the page stays as it was.
    pasteNoise(200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return unsavedFiles().size() == 1; }));
    ASSERT_TRUE(selectionRange()->pasteHTML(std::string(300 * 1024, 'x')));
    const auto waiting = folderContent();
    within(256 * 1024, save);
    expectRefusal(saved, {"index.html"}, waiting);

    ASSERT_EQ(host->save(), Outcome<void>());
    EXPECT_EQ(read(pagePath), host->source());
}

TEST_F(SaveFaultsTest, NeitherAFolderNorAPageRemovedOrReplacedMeanwhileIsWrittenOver)
{
    openEditedPage();
    // Save As onto a folder: the pieces are written, then removed again.
    ASSERT_TRUE(QDir(dir.path()).mkpath("taken.html"));
    const auto unsaved = folderContent();
    expectRefusal(host->saveAs(dir.filePath("taken.html")), {"taken.html", "folder"}, unsaved);
    EXPECT_EQ(host->pagePath(), pagePath);

    ASSERT_TRUE(QFile::remove(pagePath));
    const auto removed = folderContent();
    expectRefusal(host->save(), {"index.html", "removed", "another name"}, removed);

    // Replaced by a new file of the same size, as an editor that writes aside does.
    write("other.html", "<body>\r\n<P>OLD</P>\r\n</body>");
    ASSERT_TRUE(QFile::rename(dir.filePath("other.html"), pagePath));
    const auto replaced = folderContent();
    expectRefusal(host->save(), {"index.html", "changed by someone else"}, replaced);

    // Written in place.
    write("index.html", "theirs");
    const auto rewritten = folderContent();
    expectRefusal(host->save(), {"changed by someone else"}, rewritten);

    // Save As keeps both, and the page saves in its new place from then on.
    ASSERT_EQ(host->saveAs(dir.filePath("mine.html")), Outcome<void>());
    EXPECT_EQ(read(pagePath), "theirs");
    ASSERT_TRUE(selectionRange()->pasteHTML("more "));
    EXPECT_EQ(host->save(), Outcome<void>());
    EXPECT_EQ(read(dir.filePath("mine.html")), host->source());
}

// Pieces pass over the names of files on disk (see PictureFormatsTest) and of files another picture
// of the page names but that are missing: once saved, that picture would show the piece.
TEST_F(SaveFaultsTest, PiecesNeverTakeTheNameOfAPictureOfThePageNorWriteOverAFile)
{
    openPage("<body><img src=\"./index_files/image001.png\"><img src=\"copy_files/image001.png\">"
             "<img src=\"index_files/image002.png\"></body>");
    SystemClipboard::setPicture(QImage(2, 2, QImage::Format_RGB32));
    host->paste();
    EXPECT_NE(host->source().find("src=\"index_files/image003.png\""), std::string::npos);
    ASSERT_EQ(host->saveAs(dir.filePath("copy.html")), Outcome<void>());
    EXPECT_NE(read(dir.filePath("copy.html")).find("src=\"copy_files/image002.png\""),
              std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("copy_files/image001.png")));

    // A file that appears at the very last moment is not written over either.
    write("late.png", "late");
    const auto clash = writeNewFile(dir.filePath("late.png"), "pixels");
    ASSERT_FALSE(clash);
    EXPECT_TRUE(clash.error().contains("late.png") &&
                clash.error().contains("a file of that name"));
    EXPECT_EQ(read(dir.filePath("late.png")), "late");
}

} // namespace
} // namespace tilemond::host
