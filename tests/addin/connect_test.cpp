#include "addin/connect.h"
#include "addin/entry_points.h"
#include "addin_fixture.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/split_guard.h"
#include "host/command_bars.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

namespace tilemond {
namespace {

using namespace host;
using Captions = std::vector<std::string>;

// The captions of a page host's controls, in their order.
Captions captions(const CommandBarControlsPtr& controls)
{
    Captions seen;
    for (const auto& control : std::dynamic_pointer_cast<HostControls>(controls)->list())
        seen.push_back(control->caption());
    return seen;
}

class ConnectTest : public AddInTest
{
protected:
    void connect(Connect& addIn)
    {
        addIn.OnConnection(host, ConnectMode::Startup, nullptr);
        editorActions().loadSelectedImage = [this] { ++loads; };
    }
    void clickMenu() { popup()->controls()->item("Tessora Tilemond")->Execute(); }

    Connect addIn;
    int loads = 0;
};

// A host whose command bars have no "Menu Bar".
class BarlessHost final : public Application
{
public:
    DocumentPtr activeDocument() override { return nullptr; }
    PageWindowPtr activeWindow() override { return nullptr; }
    CommandBarsPtr commandBars() override { return nullptr; }
    Connection onWindowActivate(WindowHandler) override { return {}; }
    Connection onWindowDeactivate(WindowHandler) override { return {}; }
};

// The menu entry comes with the connection and goes with the disconnection; a host without a
// "Menu Bar" connects all the same.
TEST_F(ConnectTest, ConnectionAddsTheMenuEntryAndDisconnectionTakesItOut)
{
    connect(addIn);
    EXPECT_EQ(HostApp, host);
    EXPECT_EQ(captions(menuBar()), (Captions{"File", "Edit", "Korvi Tessora"}));
    EXPECT_EQ(captions(popup()->controls()), Captions{"Tessora Tilemond"});
    const auto button = popup()->controls()->item("Tessora Tilemond");

    addIn.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(captions(menuBar()), (Captions{"File", "Edit"}));
    EXPECT_EQ(HostApp, nullptr);
    button->Execute(); // no longer heard
    EXPECT_FALSE(isFrmFiltersLoaded());

    Connect barless;
    const auto menuless = std::make_shared<BarlessHost>();
    barless.OnConnection(menuless, ConnectMode::Startup, nullptr);
    EXPECT_EQ(HostApp, menuless);
    barless.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(HostApp, nullptr);
}

TEST_F(ConnectTest, AnEntryKeptFromAnEarlierRunOpensTheEditorOnce)
{
    connect(addIn); // the host closes without a disconnection; its lasting controls stay
    popup()->setBeginGroup(false);
    restartHost();
    Connect again;
    connect(again);
    EXPECT_EQ(captions(menuBar()), (Captions{"File", "Edit", "Korvi Tessora"}));
    EXPECT_FALSE(popup()->beginGroup()); // used as it is
    EXPECT_EQ(popup()->controls()->count(), 1);
    {
        SplitRunningScope split;
        clickMenu();
        EXPECT_FALSE(isFrmFiltersLoaded()); // ignored while a split runs
    }
    clickMenu();
    FiltersForm* editor = &frmFilters();
    EXPECT_TRUE(editor->isVisible() && EditorOpen);
    clickMenu();
    EXPECT_EQ(&frmFilters(), editor);
    EXPECT_EQ(loads, 1);
    again.OnDisconnection(DisconnectMode::HostShutdown);
}

TEST_F(ConnectTest, DisconnectionTakesTheButtonOrTheWholePopup)
{
    const auto entry = menuBar()->add(ControlType::Popup, {}, {}, {}, false);
    entry->setCaption("Korvi Tessora");
    entry->controls()->add(ControlType::Button, {}, {}, {}, false)->setCaption("Other");
    connect(addIn);
    EXPECT_EQ(captions(entry->controls()), (Captions{"Tessora Tilemond", "Other"}));
    addIn.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(captions(popup()->controls()), Captions{"Other"});

    Connect second; // exactly one control, whatever its caption: the popup goes
    connect(second);
    popup()->controls()->item("Other")->Delete();
    second.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(popup(), nullptr);

    Connect third; // an empty popup is left alone
    connect(third);
    popup()->controls()->item("Tessora Tilemond")->Delete();
    third.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(popup()->controls()->count(), 0);
}

TEST_F(ConnectTest, WindowActivationMovesTheOpenEditorOnly)
{
    connect(addIn);
    host->raiseWindowActivate();
    host->raiseWindowDeactivate();
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_FALSE(isFrmFiltersLoaded() || isFrmPreviewLoaded());

    clickMenu();
    windows.clear();
    host->raiseWindowDeactivate();
    host->raiseWindowActivate();
    std::vector<int> zOrders;
    for (const auto& call : windows.calls())
        zOrders.push_back(call.insertAfter);
    EXPECT_EQ(zOrders, (std::vector<int>{WindowZOrder::NotTopmost, WindowZOrder::NotTopmost,
                                         WindowZOrder::Topmost, WindowZOrder::Topmost}));

    addIn.OnDisconnection(DisconnectMode::UserClosed);
    windows.clear();
    host->raiseWindowActivate();
    EXPECT_TRUE(windows.calls().empty());
}

// Help opens the help page beside the library and leaves the windows alone; the About box is shown
// between the topmost bracket.
TEST_F(ConnectTest, HelpOpensTheHelpPageAndAboutShowsBetweenTheTopmostBracket)
{
    connect(addIn);
    clickMenu();
    windows.clear();
    frmFilters().btHelp->click();
    EXPECT_EQ(launcher.opened(),
              QStringList(QFileInfo(libraryOf(reinterpret_cast<void*>(&DllRegisterServer)))
                              .absoluteDir()
                              .filePath("Help/index.htm")));
    EXPECT_TRUE(windows.calls().empty());

    std::vector<int> zOrdersWhileShown;
    QTimer::singleShot(0, [&] {
        for (const auto& call : windows.calls())
            zOrdersWhileShown.push_back(call.insertAfter);
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    frmFilters().Command9->click();
    EXPECT_EQ(zOrdersWhileShown, std::vector<int>(2, WindowZOrder::NotTopmost));
    ASSERT_EQ(windows.calls().size(), 4u);
    EXPECT_EQ(windows.calls()[3].insertAfter, WindowZOrder::Topmost);
    addIn.OnDisconnection(DisconnectMode::HostShutdown);
}

} // namespace
} // namespace tilemond
