#include "addin/connect.h"
#include "addin/entry_points.h"
#include "addin_fixture.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

namespace tilemond {
namespace {

class EditorWiring : public AddInTest
{
protected:
    void SetUp() override
    {
        AddInTest::SetUp();
        addIn.OnConnection(host, host::ConnectMode::Startup, nullptr);
        editorActions().loadSelectedImage = [] {};
        EditorOpen = true;
        showFrmFilters();
        windows.clear();
    }
    void TearDown() override
    {
        addIn.OnDisconnection(host::DisconnectMode::HostShutdown);
        AddInTest::TearDown();
    }

    Connect addIn;
};

// Help opens the help page beside the library and leaves the windows alone; the About box is shown
// between the topmost bracket.
TEST_F(EditorWiring, HelpOpensTheHelpPageAndAboutShowsBetweenTheTopmostBracket)
{
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
}

} // namespace
} // namespace tilemond
