#include "host/host_fixture.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>

namespace tilemond::host {
namespace {

using Undo = HostFixture;

constexpr char Page[] = "<body><p>a</p><img src=\"p.png\"><p>b</p><img src=\"q.png\"></body>";

TEST_F(Undo, APasteIsOneStepAndUndoGivesTheBytesBackWithThemSelected)
{
    openPage(Page);
    selectElement(document()->images()->item(1));
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(red);
    host->paste();
    const std::string pasted = host->source();
    ASSERT_NE(pasted, Page);
    EXPECT_TRUE(host->hasUnsavedChanges());

    ASSERT_TRUE(host->undo());
    EXPECT_EQ(host->source(), Page);
    EXPECT_EQ(selectedText(), "<img src=\"q.png\">");
    EXPECT_EQ(host->selectedPicture(), 1);
    EXPECT_FALSE(host->hasUnsavedChanges());
    EXPECT_FALSE(host->undo());

    ASSERT_TRUE(host->redo());
    EXPECT_EQ(host->source(), pasted);
    EXPECT_TRUE(host->hasUnsavedChanges());
    EXPECT_FALSE(host->redo());
}

TEST_F(Undo, EditsInsideAnUndoUnitAreOneStepWhereverTheyLie)
{
    openPage(Page);
    const auto page = document();
    selectElement(page->images()->item(0));
    page->openUndoUnit();
    selectionRange()->pasteHTML("<DIV ID='box'></DIV>");
    const auto box = page->all()->tags("DIV")->item("box");
    box->insertAdjacentHTML("BeforeEnd", "<IMG ID='x'>");
    box->setInnerHTML("");
    box->insertAdjacentHTML("BeforeEnd", "one<BR>two");
    page->body()->insertAdjacentHTML("AfterBegin", "<h1>t</h1>"); // before the unit's span
    page->closeUndoUnit();
    const std::string after = host->source();
    ASSERT_EQ(after, "<body><h1>t</h1><p>a</p><DIV ID='box'>one<BR>two</DIV><p>b</p>"
                     "<img src=\"q.png\"></body>");

    ASSERT_TRUE(host->undo());
    EXPECT_EQ(host->source(), Page);
    ASSERT_TRUE(host->redo());
    EXPECT_EQ(host->source(), after);
    // An edit after an undo is a step of its own, and the redo goes.
    ASSERT_TRUE(host->undo());
    page->body()->insertAdjacentHTML("BeforeEnd", "<p>c</p>");
    EXPECT_FALSE(host->redo());
    ASSERT_TRUE(host->undo());
    EXPECT_EQ(host->source(), Page);
}

TEST_F(Undo, StepsFollowTheSrcsASaveIntoAnotherFolderRewrites)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("site/page"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("site/img"));
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir.filePath("site/img/up.png")));
    ASSERT_TRUE(picture.save(dir.filePath("site/page/here.png")));
    const std::string original =
        "<body><img src=\"../img/up.png\"><p>x</p><img src=\"here.png\"></body>";
    write("site/page/index.html", original);
    ASSERT_EQ(host->open(dir.filePath("site/page/index.html")), Outcome<void>());
    selectElement(document()->images()->item(1));
    QGuiApplication::clipboard()->setImage(picture);
    host->paste();

    ASSERT_EQ(host->saveAs(dir.filePath("out/deep/copy.html")), Outcome<void>());
    EXPECT_TRUE(host->source().starts_with(
        "<body><img src=\"../../site/img/up.png\"><p>x</p><img src=\"copy_files/image001.png\""))
        << host->source();
    EXPECT_EQ(QImage(dir.filePath("out/deep/copy_files/image001.png")).pixelColor(5, 3),
              QColor(Qt::blue));
    ASSERT_TRUE(host->undo());
    EXPECT_EQ(host->source(),
              "<body><img src=\"../../site/img/up.png\"><p>x</p><img src=\"here.png\"></body>");
    EXPECT_TRUE(host->hasUnsavedChanges());
}

} // namespace
} // namespace tilemond::host
