#include "host_api/add_in.h"
#include "platform/registry.h"
#include "support/test_file.h"
#include "tilemond_run.h"

namespace tilemond::app {
namespace {

// The program installed into a temporary DESTDIR as a package installs it, and run from there:
// nothing of the build folder may be needed.
class InstalledProgram : public TilemondRun
{
protected:
    InstalledProgram()
    {
        QProcess install;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DESTDIR", path("root"));
        install.setProcessEnvironment(environment);
        install.start(CMAKE_COMMAND, {"--install", TILEMOND_BUILD_DIR, "--prefix", "/usr"});
        install.waitForFinished(120000);
        EXPECT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    }

    ~InstalledProgram() override { Registry::setConfigFolder({}); }

    // The add-in library that the registry names.
    QFileInfo registeredAddIn() const
    {
        Registry::setConfigFolder(path("config"));
        const QString key = QStringLiteral("%1/TessoraTilemond.Connect").arg(host::AddInEntry::Key);
        return QFileInfo(Registry::value(key, host::AddInEntry::Path).toString());
    }

    const QString program = path("root/usr/bin/tilemond");
};

TEST_F(InstalledProgram, SplitsWithTheAddInOfItsOwnFolderAndSaysWhenItIsBroken)
{
    const QStringList split = {"split",      "site/index.html", "--image",       "0",
                               "--vertical", "200,400",         "--horizontal",  "100",
                               "--table",    "--output",        "out/index.html"};
    const Result done = run(split, program);
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_TRUE(read("out/index.html").contains("index_files/image006.png"));

    // Registered on first use: the installed library, with the help page that Help opens
    // beside it.
    const QFileInfo addIn = registeredAddIn();
    ASSERT_TRUE(addIn.absoluteFilePath().startsWith(path("root/usr/")))
        << addIn.filePath().toStdString();
    EXPECT_TRUE(addIn.dir().exists("Help/index.htm"));
    const Result unregistered = run({"unregister"}, program);
    EXPECT_EQ(unregistered.out,
              "unregistered the Tessora Tilemond add-in " + addIn.filePath() + '\n');
    EXPECT_FALSE(registeredAddIn().exists());

    // The program does not link the add-in: it starts, and says what is wrong with it.
    writeTestFile(addIn.filePath(), "not a library");
    const Result broken = run(split, program);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains("The Tessora Tilemond add-in cannot be loaded") &&
                broken.err.contains(addIn.filePath()))
        << broken.err.toStdString();
}

} // namespace
} // namespace tilemond::app
