#pragma once

#include "addin/entry_points.h"
#include "editor/editor_actions.h"
#include "editor/editor_state.h"
#include "editor/host_app.h"
#include "host/page_host.h"
#include "platform/prompts.h"
#include "platform/registry.h"
#include "platform/screen_metrics.h"
#include "platform/shell_launch.h"
#include "platform/window_system.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace tilemond {

// The library file that holds `function`.
inline QString libraryOf(const void* function)
{
    Dl_info info{};
    return dladdr(function, &info) ? QString::fromLocal8Bit(info.dli_fname) : QString();
}

// A page host and a registry of their own in a temporary folder, with the window system, the
// prompts and the shell observed; the editor is closed and forgotten afterwards.
class AddInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Registry::setConfigFolder(dir.filePath("registry"));
        Screen::overrideTwipsPerPixel(15, 15);
        installWindowSystem(&windows);
        installPrompts(&answers);
        installShellLauncher(&launcher);
    }

    void TearDown() override
    {
        unloadFrmPreview();
        unloadFrmFilters();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EditorOpen = false;
        editorActions() = {};
        HostApp.reset();
        installShellLauncher(nullptr);
        installPrompts(nullptr);
        installWindowSystem(nullptr);
        Screen::clearOverride();
        Registry::setConfigFolder({});
    }

    // The host as it starts again: lasting menu controls come back from its config folder.
    void restartHost() { host = std::make_shared<host::PageHost>(dir.filePath("host")); }

    host::CommandBarControlsPtr menuBar() const
    {
        return host->commandBars()->item("Menu Bar")->controls();
    }
    host::CommandBarControlPtr popup() const { return menuBar()->item("Korvi Tessora"); }

    QTemporaryDir dir;
    std::shared_ptr<host::PageHost> host = std::make_shared<host::PageHost>(dir.filePath("host"));
    RecordingWindowSystem windows;
    ScriptedPrompts answers;
    RecordingShellLauncher launcher;
};

} // namespace tilemond
