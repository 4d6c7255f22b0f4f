#include "addin/connect.h"
#include "addin_fixture.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/split_guard.h"
#include "host/command_bars.h"

namespace tilemond {
namespace {

using namespace host;

// The captions of a page host's controls, in their order.
std::vector<std::string> captions(const CommandBarControlsPtr& controls)
{
    std::vector<std::string> seen;
    for (const auto& control : std::dynamic_pointer_cast<HostControls>(controls)->list())
        seen.push_back(control->caption());
    return seen;
}

class ConnectTest : public AddInTest
{
protected:
    void connect()
    {
        addIn.OnConnection(host, ConnectMode::Startup, nullptr);
        editorActions().loadSelectedImage = [this] { ++loads; };
    }
    void clickMenu() { popup()->controls()->item("Tessora Tilemond")->Execute(); }

    Connect addIn;
    int loads = 0;
};

TEST_F(ConnectTest, ConnectionAddsTheMenuEntryAndDisconnectionTakesItOut)
{
    connect();
    EXPECT_EQ(HostApp, host);
    const auto entry = popup();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(captions(menuBar()), (std::vector<std::string>{"File", "Edit", "Korvi Tessora"}));
    EXPECT_EQ(entry->type(), ControlType::Popup);
    EXPECT_TRUE(entry->beginGroup());
    EXPECT_TRUE(entry->visible());
    ASSERT_EQ(entry->controls()->count(), 1);
    const auto button = entry->controls()->item("Tessora Tilemond");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->type(), ControlType::Button);
    EXPECT_EQ(button->style(), ButtonStyle::IconAndCaption);
    EXPECT_FALSE(button->beginGroup());
    EXPECT_TRUE(button->visible());

    addIn.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(captions(menuBar()), (std::vector<std::string>{"File", "Edit"}));
    EXPECT_EQ(HostApp, nullptr);
    button->Execute(); // the old button no longer opens anything
    EXPECT_FALSE(isFrmFiltersLoaded());
}

TEST_F(ConnectTest, AnEntryKeptFromAnEarlierRunIsUsedAsItIs)
{
    connect(); // the host closes without a disconnection; its lasting controls stay
    popup()->setBeginGroup(false);
    restartHost();
    Connect again;
    again.OnConnection(host, ConnectMode::Startup, nullptr);
    editorActions().loadSelectedImage = [this] { ++loads; };
    EXPECT_EQ(menuBar()->count(), 3);
    EXPECT_FALSE(popup()->beginGroup());
    EXPECT_EQ(popup()->controls()->count(), 1);
    clickMenu();
    EXPECT_TRUE(isFrmFiltersLoaded());
    EXPECT_TRUE(frmFilters().isVisible());
    EXPECT_TRUE(EditorOpen);
    EXPECT_EQ(loads, 1);
    again.OnDisconnection(DisconnectMode::HostShutdown);
}

TEST_F(ConnectTest, APopupWithoutTheButtonGetsItInFirstPlace)
{
    const auto entry = menuBar()->add(ControlType::Popup, {}, {}, {}, false);
    entry->setCaption("Korvi Tessora");
    entry->controls()->add(ControlType::Button, {}, {}, {}, false)->setCaption("Other");
    connect();
    EXPECT_EQ(menuBar()->count(), 3);
    EXPECT_EQ(captions(entry->controls()), (std::vector<std::string>{"Tessora Tilemond", "Other"}));

    // With further entries only the button goes at disconnection.
    addIn.OnDisconnection(DisconnectMode::UserClosed);
    ASSERT_NE(popup(), nullptr);
    EXPECT_EQ(captions(popup()->controls()), std::vector<std::string>{"Other"});
}

TEST_F(ConnectTest, DisconnectionWithOneOrNoControlInThePopup)
{
    connect();
    popup()->controls()->item("Tessora Tilemond")->setCaption("Renamed");
    addIn.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(popup(), nullptr); // exactly one control, whatever its caption: the popup goes

    Connect second;
    second.OnConnection(host, ConnectMode::Startup, nullptr);
    popup()->controls()->item("Tessora Tilemond")->Delete();
    second.OnDisconnection(DisconnectMode::UserClosed);
    ASSERT_NE(popup(), nullptr); // an empty popup is left alone
    EXPECT_EQ(popup()->controls()->count(), 0);
}

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

TEST_F(ConnectTest, AHostWithoutAMenuBarStillConnects)
{
    const auto barless = std::make_shared<BarlessHost>();
    addIn.OnConnection(barless, ConnectMode::Startup, nullptr);
    EXPECT_EQ(HostApp, barless);
    addIn.OnDisconnection(DisconnectMode::UserClosed);
    EXPECT_EQ(HostApp, nullptr);
}

TEST_F(ConnectTest, WindowActivationMovesTheOpenEditorOnly)
{
    connect();
    host->raiseWindowActivate();
    host->raiseWindowDeactivate();
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_FALSE(isFrmFiltersLoaded());
    EXPECT_FALSE(isFrmPreviewLoaded());

    clickMenu();
    windows.clear();
    host->raiseWindowDeactivate();
    host->raiseWindowActivate();
    ASSERT_EQ(windows.calls().size(), 4u);
    const int expected[] = {WindowZOrder::NotTopmost, WindowZOrder::NotTopmost,
                            WindowZOrder::Topmost, WindowZOrder::Topmost};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(windows.calls()[i].insertAfter, expected[i]);
        EXPECT_EQ(windows.calls()[i].window,
                  i % 2 ? static_cast<QWidget*>(&frmFilters()) : &frmPreview());
    }

    addIn.OnDisconnection(DisconnectMode::UserClosed);
    windows.clear();
    host->raiseWindowActivate();
    EXPECT_TRUE(windows.calls().empty());
}

TEST_F(ConnectTest, ClickingAgainShowsTheSameEditorWithoutLoadingIt)
{
    connect();
    {
        SplitRunningScope split;
        clickMenu();
        EXPECT_FALSE(isFrmFiltersLoaded()); // ignored while a split runs
    }
    clickMenu();
    FiltersForm* editor = &frmFilters();
    clickMenu();
    EXPECT_EQ(&frmFilters(), editor);
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(editor->isVisible());
}

} // namespace
} // namespace tilemond
