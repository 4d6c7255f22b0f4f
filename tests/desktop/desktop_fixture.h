#pragma once

#include "addin/connect.h"
#include "editor/editor_actions.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "host/host_window.h"
#include "host/page_host.h"
#include "platform/registry.h"
#include "support/outcome_print.h"
#include "view/engine_page_view.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace tilemond {

// The page host with the add-in connected, on the example page, on a desktop that openbox
// manages. Input goes through the X server as a user's does (xdotool); every wait is for a
// state of the windows, with a limit.
class DesktopTest : public ::testing::Test
{
protected:
    static constexpr int Limit = 10000; // ms for any one state to come about

    void SetUp() override
    {
        Registry::setConfigFolder(dir.filePath("registry"));
        for (const char* name : {"index.html", "banner.png", "photo.png"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(TILEMOND_EXAMPLES "/") + name, pagePath(name)));
        ASSERT_EQ(host->open(pagePath()), Outcome<void>());
        addIn.OnConnection(host, host::ConnectMode::Startup, nullptr);
        window.rebuildMenus();
        window.refreshPage();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, Limit));
        ASSERT_TRUE(waitFor([&] { return !view->loading(); }));
        // The user starts by clicking into the host (the status bar), which makes it active
        // whether or not the window manager gave it the focus when it was mapped.
        // xdotool's --sync waits for the pointer to move: it must not be on that point already
        // (where the test before may have left it).
        xdotool({"mousemove", "0", "0"});
        clickAt(&window, QPoint(window.width() / 2, window.height() - 5));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window, Limit));
    }

    void TearDown() override
    {
        if (m_xterm.state() != QProcess::NotRunning) {
            m_xterm.kill();
            m_xterm.waitForFinished();
        }
        unloadFrmPreview();
        unloadFrmFilters();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        addIn.OnDisconnection(host::DisconnectMode::HostShutdown);
        EditorOpen = false;
        Registry::setConfigFolder({});
    }

    QString pagePath(const char* name = "index.html") const { return dir.filePath(name); }

    static bool waitFor(const std::function<bool()>& state, int limit = Limit)
    {
        return QTest::qWaitFor(state, limit);
    }

    // Runs a program to its end, the application going on meanwhile; its output.
    static QString run(const QString& program, const QStringList& arguments)
    {
        QProcess tool;
        tool.start(program, arguments);
        EXPECT_TRUE(waitFor([&] { return tool.state() == QProcess::NotRunning; }))
            << program.toStdString() << " " << arguments.join(' ').toStdString();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    static QString xdotool(const QStringList& arguments) { return run("xdotool", arguments); }

    static void click(const QWidget* widget) { clickAt(widget, widget->rect().center()); }
    static void clickAt(const QWidget* widget, QPoint local)
    {
        xdotool(pointerTo(widget, local) + QStringList{"click", "1"});
    }
    // xdotool's words that put the pointer on this point of the widget, counted from its window
    // where the X server has it (which may still be moving there).
    static QStringList pointerTo(const QWidget* widget, QPoint local)
    {
        const QPoint at = widget->mapTo(widget->window(), local);
        return {"mousemove",
                "--window",
                QString::number(widget->window()->winId()),
                "--sync",
                QString::number(at.x()),
                QString::number(at.y())};
    }
    // xdotool's words that put the pointer on this point of the screen.
    static QStringList pointerAt(QPoint at)
    {
        return {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())};
    }
    // Keys one after the other, e.g. "Down shift+Down".
    static void pressKeys(const QString& keys)
    {
        xdotool(QStringList{"key", "--clearmodifiers"} + keys.split(' '));
    }
    static void type(const QString& text) { xdotool({"type", "--delay", "20", text}); }

    // Whether both Qt and the window manager take this window for the active one: the window
    // manager handles Alt+F4 itself, and on a busy machine it can follow Qt's focus late.
    static bool activeForBoth(const QWidget& window)
    {
        return QApplication::activeWindow() == &window &&
               run("xprop", {"-root", "_NET_ACTIVE_WINDOW"})
                       .section('#', 1)
                       .section(',', 0, 0)
                       .trimmed()
                       .toULongLong(nullptr, 16) == window.winId();
    }

    // The window that has the keyboard focus (an X window id).
    static qulonglong focusedWindow() { return xdotool({"getwindowfocus"}).toULongLong(); }

    // A point of the screen where picture n of the page shows in the host's view, not covered
    // by the editor's windows.
    QPoint pictureOnScreen(int n)
    {
        const auto box = view->pictureInView(n);
        const auto covered = [](QPoint at) {
            for (bool loaded : {isFrmFiltersLoaded(), isFrmPreviewLoaded()})
                if (!loaded)
                    return false;
            return frmFilters().frameGeometry().adjusted(-4, -4, 4, 4).contains(at) ||
                   frmPreview().frameGeometry().adjusted(-4, -4, 4, 4).contains(at);
        };
        for (int y = 4; box && y < box->height() - 4; y += 10)
            for (int x = 4; x < box->width() - 4; x += 10) {
                const QPoint at = view->mapToGlobal(box->topLeft() + QPoint(x, y));
                if (view->rect().contains(view->mapFromGlobal(at)) && !covered(at))
                    return at;
            }
        ADD_FAILURE() << "picture " << n << " is not in sight";
        return {};
    }
    void clickPicture(int n)
    {
        xdotool(pointerAt(pictureOnScreen(n)) + QStringList{"click", "1"});
        ASSERT_TRUE(waitFor([&] { return window.pageView().selectedPicture() == n; }));
    }

    // Chooses a command of the host's menu bar with the mouse.
    void chooseMenuCommand(const QString& title, const QString& command)
    {
        QMenuBar* bar = window.menuBar();
        for (QAction* action : bar->actions()) {
            if (action->text().remove('&') != title)
                continue;
            clickAt(bar, bar->actionGeometry(action).center());
            QMenu* menu = nullptr;
            ASSERT_TRUE(waitFor([&] {
                menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                return menu && menu->windowHandle() && menu->windowHandle()->isExposed();
            }));
            for (QAction* item : menu->actions())
                if (item->text().remove('&') == command) {
                    clickAt(menu, menu->actionGeometry(item).center());
                    return;
                }
            FAIL() << "no command " << command.toStdString();
        }
        FAIL() << "no menu " << title.toStdString();
    }

    // Opens the editor on the picture selected in the page and waits until both windows stand
    // framed on the screen with the picture in the preview.
    void openEditor()
    {
        chooseMenuCommand("Korvi Tessora", "Tessora Tilemond");
        ASSERT_TRUE(waitFor([] {
            return EditorOpen && isFrmFiltersLoaded() && isFrmPreviewLoaded() &&
                   frmFilters().isVisible() && frmPreview().windowHandle() &&
                   frmPreview().windowHandle()->isExposed() &&
                   frmFilters().windowHandle()->isExposed() &&
                   frmPreview().frameGeometry() != frmPreview().geometry();
        })) << "the editor did not open";
        // Qt knows where it asked the windows to go before the window manager has moved them
        // there; a click meanwhile would land where they were.
        ASSERT_TRUE(waitFor([] {
            return standsWhereAsked(frmFilters()) && standsWhereAsked(frmPreview());
        })) << "the editor's windows did not come to rest";
        m_editorWindows = {frmFilters().winId(), frmPreview().winId()};
    }

    // Whether the X server has the window where Qt does, twice in a row a moment apart.
    static bool standsWhereAsked(const QWidget& window)
    {
        const auto onServer = [&] {
            const QString info = run("xwininfo", {"-id", QString::number(window.winId())});
            const auto value = [&](const QString& name) {
                const int at = info.indexOf(name + ':');
                return at < 0 ? -1 : info.mid(at + name.size() + 1).section('\n', 0, 0).toInt();
            };
            return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"),
                         value("Width"), value("Height"));
        };
        if (onServer() != window.geometry())
            return false;
        QTest::qWait(100);
        return onServer() == window.geometry();
    }

    // Whether both editor windows are gone, as after Cancel: unloaded, and off the screen.
    std::function<bool()> editorClosedNow()
    {
        return [this] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (EditorOpen || isFrmFiltersLoaded() || isFrmPreviewLoaded())
                return false;
            const auto shown = stacking();
            return std::none_of(m_editorWindows.begin(), m_editorWindows.end(),
                                [&](qulonglong id) { return shown.contains(id); });
        };
    }

    // Another program: an xterm at the screen's bottom right whose typed lines go to `file`.
    // Returns its window.
    qulonglong startXterm(const QString& file)
    {
        m_xterm.start("xterm", {"-geometry", "40x6-0-0", "-title", "tilemond-other-program", "-e",
                                "sh", "-c", QStringLiteral("cat > '%1'").arg(file)});
        return xdotool({"search", "--sync", "--name", "tilemond-other-program"})
            .split('\n')
            .value(0)
            .toULongLong();
    }

    // The X windows from bottom to top, as the window manager stacks them.
    static QList<qulonglong> stacking()
    {
        const QString line = run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
        QList<qulonglong> windows;
        for (const QString& id : line.section('#', 1).split(',', Qt::SkipEmptyParts))
            windows << id.trimmed().toULongLong(nullptr, 16);
        return windows;
    }

    QTemporaryDir dir;
    std::shared_ptr<host::PageHost> host = std::make_shared<host::PageHost>(dir.filePath("host"));
    Connect addIn;
    view::EnginePageView* view = new view::EnginePageView(*host);
    host::HostWindow window{*host, view};

private:
    QProcess m_xterm;
    QList<qulonglong> m_editorWindows; // as the X server knows them
};

} // namespace tilemond
