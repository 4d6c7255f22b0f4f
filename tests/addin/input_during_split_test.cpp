#include "addin/connect.h"
#include "addin_fixture.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "host/host_window.h"
#include "host/page_view.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace tilemond {
namespace {

// The page shown nowhere: the selection is all these tests need of a view.
class UnshownPage final : public host::PageView
{
public:
    using PageView::PageView;
    void refresh() override {}
    void showSelection(bool) override {}
};

// The user's clicks and keys, delivered through the window system as the desktop delivers them,
// while a split made from the host's menu and the editor's buttons runs.
class InputDuringSplit : public AddInTest
{
protected:
    void SetUp() override
    {
        AddInTest::SetUp();
        openPage(PageText, {{"p.png", Qt::darkCyan}}, {120, 60});
        addIn.OnConnection(host, host::ConnectMode::Startup, nullptr);
        window.rebuildMenus();
        window.refreshPage();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override
    {
        addIn.OnDisconnection(host::DisconnectMode::HostShutdown);
        AddInTest::TearDown();
    }

    QString pagePath() const { return dir.filePath("page.html"); }

    static void clickAt(QWidget* widget, QPoint point)
    {
        QWidget* top = widget->window();
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, point));
    }
    static void click(QWidget* widget) { clickAt(widget, widget->rect().center()); }

    // Chooses a command of the host's menu bar; false when its menu did not open.
    bool chooseMenuCommand(const QString& title, const QString& command)
    {
        for (QAction* action : window.menuBar()->actions())
            if (action->text().remove('&') == title)
                clickAt(window.menuBar(), window.menuBar()->actionGeometry(action).center());
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !QTest::qWaitForWindowExposed(menu))
            return false;
        for (QAction* action : menu->actions())
            if (action->text().remove('&') == command)
                clickAt(menu, menu->actionGeometry(action).center());
        return true;
    }

    static constexpr char PageText[] = "<body><p>before</p><img src=\"p.png\"><p>after</p></body>";
    Connect addIn;
    host::HostWindow window{*host, new UnshownPage(*host)};
};

TEST_F(InputDuringSplit, IsDroppedAndTheOneSplitFinishesUndisturbed)
{
    window.pageView().selectPicture(0);
    ASSERT_TRUE(chooseMenuCommand("Korvi Tessora", "Tessora Tilemond"));
    ASSERT_TRUE(QTest::qWaitFor([] { return EditorOpen && !frmFilters().NoGraphic; }));
    FiltersForm& editor = frmFilters();
    click(editor.Command1); // one vertical and one horizontal marker
    click(editor.Command2);

    int menusOpened = 0;
    int saveQuestions = 0;
    window.setSaveQuestion([&](const QString&) {
        ++saveQuestions;
        return QMessageBox::Cancel;
    });
    QTimer::singleShot(0, [&] {
        // Okay again, Cancel, a marker, the file button; the host's menus; keys; closing the page.
        for (QPushButton* button :
             {editor.Command4, editor.Command6, editor.Command1, editor.Command8})
            click(button);
        menusOpened += chooseMenuCommand("Edit", "Paste");
        menusOpened += chooseMenuCommand("File", "Save");
        menusOpened += chooseMenuCommand("Korvi Tessora", "Tessora Tilemond");
        QTest::keyClick(editor.windowHandle(), Qt::Key_Space);
        QTest::keyClick(window.windowHandle(), Qt::Key_F, Qt::AltModifier);
        window.windowHandle()->close();
    });
    click(editor.Command4);

    EXPECT_EQ(menusOpened, 0);
    EXPECT_EQ(saveQuestions, 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(answers.asked().empty()); // no file dialog, no question
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(isFrmFiltersLoaded());
    const std::string& page = host->source();
    int pieces = 0;
    for (auto at = page.find("<img src=\"page_files/"); at != std::string::npos;
         at = page.find("<img src=\"page_files/", at + 1))
        ++pieces;
    EXPECT_EQ(pieces, 4) << page;
    EXPECT_EQ(page.find("<DIV ID="), page.rfind("<DIV ID=")) << "one container only";
    EXPECT_TRUE(page.starts_with("<body><p>before</p>") && page.ends_with("<p>after</p></body>"));

    QFile onDisk(pagePath());
    ASSERT_TRUE(onDisk.open(QIODevice::ReadOnly));
    EXPECT_EQ(onDisk.readAll(), PageText);

    // Once the split is over the same clicks work again.
    ASSERT_TRUE(chooseMenuCommand("File", "Save"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host->hasUnsavedChanges(); }));
}

} // namespace
} // namespace tilemond
