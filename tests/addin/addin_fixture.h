#pragma once

#include "addin/entry_points.h"
#include "host/page_host.h"
#include "platform/registry.h"
#include "platform/shell_launch.h"
#include "support/editor_session.h"
#include "support/outcome_print.h"
#include "support/test_file.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <dlfcn.h>

namespace tilemond {

// The library file that holds `function`.
inline QString libraryOf(const void* function)
{
    Dl_info info{};
    return dladdr(function, &info) ? QString::fromLocal8Bit(info.dli_fname) : QString();
}

// A page host and a registry of their own in a temporary folder, with the editor's session at 15
// twips a pixel and the shell observed.
class AddInTest : public EditorSession
{
protected:
    AddInTest() : EditorSession(15, 15) {}

    void SetUp() override
    {
        EditorSession::SetUp();
        Registry::setConfigFolder(dir.filePath("registry"));
        installShellLauncher(&launcher);
    }

    void TearDown() override
    {
        EditorSession::TearDown();
        installShellLauncher(nullptr);
        Registry::setConfigFolder({});
    }

    // The host as it starts again: lasting menu controls come back from its config folder.
    void restartHost() { host = std::make_shared<host::PageHost>(dir.filePath("host")); }

    host::CommandBarControlsPtr menuBar() const
    {
        return host->commandBars()->item("Menu Bar")->controls();
    }
    host::CommandBarControlPtr popup() const { return menuBar()->item("Korvi Tessora"); }

    // `markup` as page.html in the folder, open in the host, with pictures of one colour each.
    void openPage(const QByteArray& markup, const std::map<QString, QColor>& pictures, QSize size)
    {
        for (const auto& [name, colour] : pictures) {
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(colour);
            ASSERT_TRUE(picture.save(dir.filePath(name)));
        }
        ASSERT_EQ(host->open(writeTestFile(dir.filePath("page.html"), markup)), Outcome<void>());
    }

    QTemporaryDir dir;
    std::shared_ptr<host::PageHost> host = std::make_shared<host::PageHost>(dir.filePath("host"));
    RecordingShellLauncher launcher;
};

} // namespace tilemond
