// What the user does to the page through the desktop under openbox: the split, the clipboard,
// the file dialog, Save As, undo and redo.
#include "desktop_fixture.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

namespace tilemond {
namespace {

using PageEditing = DesktopTest;

constexpr char BannerTag[] =
    R"(<img src="banner.png" width="600" height="200" alt="Boats in the harbour at sunset">)";
constexpr char LighthouseTag[] =
    R"(<img src="photo.png" id="lighthouse" width="300" height="200" alt="The lighthouse">)";

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(PageEditing, TheSplitCutsAndReplacesThePictureTheEditorTookWhateverIsClickedSince)
{
    clickPicture(0);
    openEditor();
    click(frmFilters().Command1);
    ASSERT_TRUE(waitFor([] { return frmFilters().VMarkerLast == 0; }));
    clickPicture(1); // the host stays usable while the editor is open
    click(frmFilters().Command4);
    ASSERT_TRUE(waitFor(editorClosed));

    const std::string& page = host->source();
    EXPECT_EQ(page.find(BannerTag), std::string::npos) << page;
    EXPECT_NE(page.find(LighthouseTag), std::string::npos) << "the lighthouse was replaced";
    EXPECT_LT(page.find("<DIV ID='Tilemond1'"), page.find(LighthouseTag));
}

} // namespace
} // namespace tilemond
