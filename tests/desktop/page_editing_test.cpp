// What the user does to the page through the desktop under openbox: the split, the clipboard,
// the file dialog, Save As, undo and redo.
#include "desktop_fixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

namespace tilemond {
namespace {

using PageEditing = DesktopTest;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the editor displaced comes back; what the user copied while it was open stays.
TEST_F(PageEditing, TheClipboardGetsBackWhatTheEditorTookAndKeepsWhatWasCopiedSince)
{
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.setText("the user's own words");
    clickPicture(1);
    openEditor();
    click(frmFilters().Command6); // Cancel
    ASSERT_TRUE(waitFor(editorClosedNow()));
    EXPECT_EQ(clipboard.text(), "the user's own words");

    openEditor();
    clickPicture(0);
    pressKeys("ctrl+c"); // in the host
    ASSERT_TRUE(waitFor([&] { return clipboard.mimeData()->hasImage(); }));
    click(frmFilters().Command6);
    ASSERT_TRUE(waitFor(editorClosedNow()));
    EXPECT_TRUE(clipboard.mimeData()->hasImage()) << "the picture copied in the host is gone";

    clickPicture(1);
    openEditor();
    QFile words(dir.filePath("words.txt"));
    ASSERT_TRUE(words.open(QIODevice::WriteOnly) && words.write("copied elsewhere") > 0);
    words.close();
    run("xclip", {"-selection", "clipboard", words.fileName()}); // another program
    ASSERT_TRUE(waitFor([&] { return clipboard.text() == "copied elsewhere"; }));
    click(frmFilters().Command6);
    ASSERT_TRUE(waitFor(editorClosedNow()));
    EXPECT_EQ(clipboard.text(), "copied elsewhere");

    clipboard.setText("the user's own words");
    openEditor();
    click(frmFilters().Command4); // Okay
    ASSERT_TRUE(waitFor(editorClosedNow()));
    EXPECT_EQ(clipboard.text(), "the user's own words");
}

TEST_F(PageEditing, TheFileDialogOpensAboveTheEditorAndTakesTheKeys)
{
    clickPicture(1);
    openEditor();
    const WId editor = frmFilters().winId();
    const WId preview = frmPreview().winId();
    bool seen = false;
    QList<qulonglong> order;
    qulonglong focused = 0;
    WId dialogWindow = 0;
    QString filter;
    // The dialog runs its own loop: look at it from there, then close it with Escape.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (seen || !dialog || !dialog->windowHandle() || !dialog->windowHandle()->isExposed() ||
            !dialog->isActiveWindow())
            return;
        seen = true;
        dialogWindow = dialog->winId();
        order = stacking();
        focused = focusedWindow();
        if (const auto* types = dialog->findChild<QComboBox*>("fileTypeCombo"))
            filter = types->currentText();
        pressKeys("Escape");
    });
    look.start(50);
    click(frmFilters().Command8);
    ASSERT_TRUE(waitFor([&] { return seen && !QApplication::activeModalWidget(); }))
        << "no file dialog came up with the focus";
    EXPECT_GT(order.indexOf(dialogWindow), order.indexOf(editor));
    EXPECT_GT(order.indexOf(dialogWindow), order.indexOf(preview));
    EXPECT_EQ(focused, dialogWindow);
    EXPECT_EQ(filter, "Graphic Formats");
    EXPECT_TRUE(EditorOpen);
}

TEST_F(PageEditing, SaveAsIntoAnotherFolderKeepsEveryPictureShowing)
{
    const QString copy = dir.filePath("elsewhere/copy.html");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("elsewhere")));
    // The dialog runs its own loop: the name is typed from there.
    bool typed = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        const auto* name = dialog ? dialog->findChild<QLineEdit*>() : nullptr;
        if (typed || !name || !dialog->isActiveWindow() || !name->hasFocus())
            return;
        typed = true;
        pressKeys("ctrl+a");
        type(copy);
        pressKeys("Return");
    });
    answer.start(50);
    pressKeys("ctrl+shift+s");
    ASSERT_TRUE(waitFor([&] { return host->pagePath() == copy; }))
        << "not saved as " << copy.toStdString();

    const std::string saved = fileBytes(copy).toStdString();
    for (const char* picture : {"banner.png", "photo.png"})
        EXPECT_FALSE(host->picture(picture).isNull()) << picture << " is broken in " << saved;
}

TEST_F(PageEditing, UndoGivesBackThePageBeforeTheSplitAndRedoThePieces)
{
    const std::string before = host->source();
    clickPicture(1);
    openEditor();
    click(frmFilters().Command1);
    click(frmFilters().Command2);
    ASSERT_TRUE(waitFor([] { return frmFilters().HMarkerLast == 0; }));
    click(frmFilters().Command4);
    ASSERT_TRUE(waitFor(editorClosedNow()));
    const std::string split = host->source();
    ASSERT_NE(split, before);

    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
    pressKeys("ctrl+z");
    ASSERT_TRUE(waitFor([&] { return host->source() == before; })) << host->source();
    EXPECT_EQ(window.pageView().selectedPicture(), 1);
    EXPECT_FALSE(window.windowTitle().contains('*'));

    pressKeys("ctrl+shift+z");
    ASSERT_TRUE(waitFor([&] { return host->source() == split; }));
    EXPECT_TRUE(window.windowTitle().contains('*'));
}

} // namespace
} // namespace tilemond
