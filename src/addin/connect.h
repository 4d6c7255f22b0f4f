#pragma once

#include "addin/live_objects.h"
#include "host_api/add_in.h"

#include <string_view>

namespace tilemond {

// The add-in as the host sees it: at connection it keeps the host application (HostApp),
// follows the host's window activation and puts "Korvi Tessora" > "Tessora Tilemond" into the
// host's "Menu Bar"; a click there opens the editor. Disconnection takes the entry out again.
// Host calls and errors inside are skipped step by step; nothing is thrown to the host.
class Connect final : public host::AddIn
{
public:
    void OnConnection(const host::ApplicationPtr& Application, int ConnectMode,
                      const std::shared_ptr<void>& AddInInst) override;
    void OnDisconnection(int RemoveMode) override;
    void OnAddInsUpdate() override {}
    void OnStartupComplete() override {}
    void OnBeginShutdown() override {}

    // The click on "Tessora Tilemond": opens the editor, or brings an open one forward.
    void m_cbbMenu_Click(host::CommandBarControl& Ctrl, bool& CancelDefault);
    // While the editor is open, the host's activation puts both editor windows into the
    // always-on-top band and its deactivation takes them out.
    void FPApplic_WindowActivate(host::PageWindow* pWebWindow);
    void FPApplic_WindowDeactivate(host::PageWindow* pWebWindow);

    // Members a host or script may see; the add-in itself does not use them.
    bool FormDisplayed = false;
    host::CommandBarControlPtr MenuHandler;
    // Adds nothing; always an empty reference.
    host::CommandBarControlPtr AddToAddInCommandBar(std::string_view sCaption);

private:
    void addMenuEntry();
    void removeMenuEntry();

    host::ApplicationPtr FPApplic;
    host::Connection m_windowActivate;
    host::Connection m_windowDeactivate;
    host::CommandBarControlPtr m_cbbMenu;
    host::Connection m_menuClick;
    std::shared_ptr<void> m_addInInst;
    LiveObject m_alive;
};

} // namespace tilemond
