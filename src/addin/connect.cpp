#include "addin/connect.h"

#include "addin/editor_wiring.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/split_guard.h"
#include "editor/topmost.h"

namespace tilemond {
namespace {

using namespace host;

constexpr std::string_view MenuBarName = "Menu Bar";
constexpr std::string_view PopupCaption = "Korvi Tessora";
constexpr std::string_view ButtonCaption = "Tessora Tilemond";

// Handlers the host calls run to the end or stop quietly; nothing is thrown back.
template <class Step> void ignoringErrors(Step step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}

CommandBarControlsPtr menuBarControls()
{
    const CommandBarsPtr bars = HostApp ? HostApp->commandBars() : nullptr;
    const CommandBarPtr menuBar = bars ? bars->item(MenuBarName) : nullptr;
    return menuBar ? menuBar->controls() : nullptr;
}

CommandBarControlsPtr controlsOf(const CommandBarControlPtr& popup)
{
    return popup ? popup->controls() : nullptr;
}

void addPopup(CommandBarControls& menuBar)
{
    if (const CommandBarControlPtr popup =
            menuBar.add(ControlType::Popup, std::nullopt, std::nullopt, std::nullopt, false)) {
        popup->setBeginGroup(true);
        popup->setCaption(PopupCaption);
        popup->setVisible(true);
    }
}

CommandBarControlPtr addButton(CommandBarControls& popup)
{
    const CommandBarControlPtr button =
        popup.add(ControlType::Button, std::nullopt, std::nullopt, 1, false);
    if (button) {
        button->setBeginGroup(false);
        button->setStyle(ButtonStyle::IconAndCaption);
        button->setCaption(ButtonCaption);
        button->setVisible(true);
    }
    return button;
}

void setEditorTopmost(bool onTop)
{
    if (!EditorOpen)
        return;
    SetTopmost(frmPreview(), onTop);
    SetTopmost(frmFilters(), onTop);
}

} // namespace

void Connect::OnConnection(const ApplicationPtr& Application, int,
                           const std::shared_ptr<void>& AddInInst)
{
    ignoringErrors([&] {
        HostApp = Application;
        m_addInInst = AddInInst;
        FPApplic = Application;
        if (FPApplic) {
            m_windowActivate = FPApplic->onWindowActivate(
                [this](PageWindow* window) { FPApplic_WindowActivate(window); });
            m_windowDeactivate = FPApplic->onWindowDeactivate(
                [this](PageWindow* window) { FPApplic_WindowDeactivate(window); });
        }
        installEditorActions();
        addMenuEntry();
    });
}

void Connect::OnDisconnection(int)
{
    ignoringErrors([&] { removeMenuEntry(); });
    m_menuClick.disconnect();
    m_cbbMenu.reset();
    m_windowActivate.disconnect();
    m_windowDeactivate.disconnect();
    FPApplic.reset();
    m_addInInst.reset();
    HostApp.reset();
}

void Connect::m_cbbMenu_Click(CommandBarControl&, bool&)
{
    ignoringErrors([] {
        if (splitRunning())
            return;
        EditorOpen = true;
        showFrmFilters();
    });
}

void Connect::FPApplic_WindowActivate(PageWindow*)
{
    ignoringErrors([] { setEditorTopmost(true); });
}

void Connect::FPApplic_WindowDeactivate(PageWindow*)
{
    ignoringErrors([] { setEditorTopmost(false); });
}

CommandBarControlPtr Connect::AddToAddInCommandBar(std::string_view)
{
    return nullptr;
}

// The entry is kept by the host from run to run, so it is looked up before it is added; what is
// found is used as it is.
void Connect::addMenuEntry()
{
    const CommandBarControlsPtr menuBar = menuBarControls();
    if (!menuBar)
        return;
    if (!menuBar->item(PopupCaption))
        addPopup(*menuBar);
    const CommandBarControlsPtr popup = controlsOf(menuBar->item(PopupCaption));
    if (!popup)
        return;
    m_cbbMenu = popup->item(ButtonCaption);
    if (!m_cbbMenu)
        m_cbbMenu = addButton(*popup);
    if (m_cbbMenu)
        m_menuClick = m_cbbMenu->onClick(
            [this](CommandBarControl& control, bool& cancel) { m_cbbMenu_Click(control, cancel); });
}

// The button goes, or the whole popup when the button is all it holds.
void Connect::removeMenuEntry()
{
    const CommandBarControlsPtr menuBar = menuBarControls();
    const CommandBarControlPtr popup = menuBar ? menuBar->item(PopupCaption) : nullptr;
    const CommandBarControlsPtr controls = controlsOf(popup);
    if (!controls)
        return;
    if (controls->count() == 1)
        popup->Delete();
    else if (const CommandBarControlPtr button = controls->item(ButtonCaption))
        button->Delete();
}

} // namespace tilemond
