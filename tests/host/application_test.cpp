#include "host_fixture.h"

namespace tilemond::host {
namespace {

using ApplicationTest = HostFixture;

TEST_F(ApplicationTest, WindowDocumentAndEventsFollowTheOpenPage)
{
    EXPECT_EQ(host->activeDocument(), nullptr);
    EXPECT_EQ(host->activeWindow(), nullptr);
    std::vector<std::string> events;
    auto activate = host->onWindowActivate(
        [&](PageWindow* window) { events.push_back(window ? "on+page" : "on"); });
    auto deactivate = host->onWindowDeactivate([&](PageWindow*) { events.push_back("off"); });
    host->raiseWindowActivate();
    openPage("<body>x</body>");
    host->raiseWindowDeactivate();
    host->raiseWindowActivate();
    EXPECT_EQ(events, (std::vector<std::string>{"on", "off", "on+page"}));

    int refreshes = 0;
    host->activeWindow()->Refresh();
    host->setRefreshHandler([&] { ++refreshes; });
    host->activeWindow()->Refresh();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(host->activeWindow()->document()->body()->innerHTML(), "x");
}

TEST_F(ApplicationTest, CommandBarsOfferTheHostsMenusAndAddAtAPlace)
{
    const auto bars = host->commandBars();
    EXPECT_EQ(bars->item("Nope"), nullptr);
    const auto file = bars->item("Menu Bar")->controls()->item("File")->controls();
    EXPECT_EQ(file->add(ControlType::Button, std::nullopt, std::nullopt, 6), nullptr);
    EXPECT_EQ(file->add(7), nullptr);
    const auto first = file->add(ControlType::Button, std::nullopt, std::nullopt, 1, true);
    first->setCaption("Scratch");
    EXPECT_EQ(file->count(), 5);
    EXPECT_TRUE(first->Delete());
    EXPECT_FALSE(first->Delete());
    EXPECT_EQ(file->item("Scratch"), nullptr);
}

TEST_F(ApplicationTest, LastingControlsComeBackAtTheNextRunAndTemporaryOnesDoNot)
{
    {
        const auto menu = host->commandBars()->item("Menu Bar")->controls();
        const auto popup =
            menu->add(ControlType::Popup, std::nullopt, std::nullopt, std::nullopt, false);
        popup->setBeginGroup(true);
        popup->setCaption("Korvi Tessora");
        const auto button =
            popup->controls()->add(ControlType::Button, std::nullopt, std::nullopt, 1, false);
        button->setStyle(ButtonStyle::IconAndCaption);
        button->setCaption("Tessora Tilemond");
        menu->add(ControlType::Button, std::nullopt, std::nullopt, 1, true)->setCaption("Scratch");
        const auto inTemporary =
            menu->add(ControlType::Popup, {}, {}, {}, true)->controls()->add(ControlType::Button);
        inTemporary->setCaption("Scratch");
    }
    host = std::make_unique<PageHost>(dir.filePath("config"));
    const auto menu = host->commandBars()->item("Menu Bar")->controls();
    EXPECT_EQ(menu->count(), 3); // File, Edit and the lasting popup
    const auto popup = menu->item("Korvi Tessora");
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->beginGroup());
    EXPECT_EQ(popup->type(), ControlType::Popup);
    const auto button = popup->controls()->item("Tessora Tilemond");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->style(), ButtonStyle::IconAndCaption);

    EXPECT_TRUE(popup->Delete());
    host = std::make_unique<PageHost>(dir.filePath("config"));
    EXPECT_EQ(host->commandBars()->item("Menu Bar")->controls()->count(), 2);

    write("config/command_bars.json",
          "{\"bars\": [{\"name\": \"Menu Bar\", \"controls\": [7, {\"type\": \"x\"}");
    host = std::make_unique<PageHost>(dir.filePath("config"));
    EXPECT_EQ(host->commandBars()->item("Menu Bar")->controls()->count(), 2);
}

} // namespace
} // namespace tilemond::host
