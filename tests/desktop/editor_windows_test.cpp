// The editor's two windows under openbox: where they stand, what closing them does, the focus.
#include "desktop_fixture.h"

#include "marker/cut_marker.h"

#include <QScreen>

namespace tilemond {
namespace {

using EditorWindows = DesktopTest;

TEST_F(EditorWindows, AnotherProgramClickedKeepsTheFocusAndNoWindowIsMadeAgain)
{
    const QString typed = dir.filePath("typed.txt");
    const qulonglong other = startXterm(typed);
    ASSERT_NE(other, 0u);
    clickPicture(0);
    openEditor();
    const WId editor = frmFilters().winId();
    const WId preview = frmPreview().winId();

    xdotool({"mousemove", "--window", QString::number(other), "--sync", "40", "40", "click", "1"});
    type("typed elsewhere\n");
    EXPECT_TRUE(waitFor([&] {
        QFile file(typed);
        return file.open(QIODevice::ReadOnly) && file.readAll() == "typed elsewhere\n";
    })) << "what the user typed did not reach the other program";
    EXPECT_EQ(focusedWindow(), other);
    EXPECT_EQ(frmFilters().winId(), editor);
    EXPECT_EQ(frmPreview().winId(), preview);

    // Back in the host, both windows stand above it again, the same windows.
    clickAtScreen(window.mapToGlobal(QPoint(window.width() / 2, window.height() - 40)));
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
    ASSERT_TRUE(waitFor([&] {
        const auto order = stacking();
        return order.indexOf(editor) > order.indexOf(window.winId()) &&
               order.indexOf(preview) > order.indexOf(window.winId());
    }));
    EXPECT_EQ(frmFilters().winId(), editor);
    EXPECT_EQ(frmPreview().winId(), preview);
}

} // namespace
} // namespace tilemond
