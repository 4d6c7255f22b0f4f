#include "host/host_fixture.h"

namespace tilemond::host {
namespace {

using PageDocumentTest = HostFixture;

const std::string MixedPage =
    "<HTML>\r\n<Body bgcolor='#FFFFFF'>\r\n<!-- <img src=\"ghost.gif\"> -->\r\n"
    "<o:p class=x>\xff\xfe</o:p><DIV id=a>one</DIV>\n"
    "<IMG SRC=\"b.png\"><img src='c.png' name=pic>\r\n"
    "<div ID=\"b\" name=\"bee\">two<br></div>\r\n</Body>\r\n</HTML>\r\n";

TEST_F(PageDocumentTest, EditsChangeOnlyTheirSpanAndTheRestStaysByteForByte)
{
    // A stray NUL past the first kilobytes (nearer the start, the page would not be text).
    std::string page = "<!--" + std::string(4096, '-') + "-->" + MixedPage;
    page.insert(page.find("one"), std::string("\0nul", 4));
    openPage(page);
    const auto divs = document()->all()->tags("div");
    ASSERT_TRUE(divs->item("a")->insertAdjacentHTML("BEFOREEND", "<p>x</p>"));
    ASSERT_TRUE(divs->item("b")->setInnerHTML("2"));
    ASSERT_TRUE(divs->item("b")->insertAdjacentHTML("afterEnd", "<hr>"));

    std::string expected = page;
    expected.insert(expected.find("</DIV>"), "<p>x</p>");
    expected.replace(expected.find("two<br>"), 7, "2");
    expected.insert(expected.find("</div>") + 6, "<hr>");
    EXPECT_EQ(host->source(), expected);
    EXPECT_TRUE(host->hasUnsavedChanges());
    ASSERT_EQ(host->save(), Outcome<void>());
    EXPECT_EQ(read(pagePath), expected);
    EXPECT_FALSE(host->hasUnsavedChanges());
}

// The caret of a freshly opened page stands at the end of the body's content; a selected picture
// reads as its tag as written, and the text before it keeps the commented-out tag. Each end point
// moves to the one named of the other range; an end before the start collapses the range there.
TEST_F(PageDocumentTest, TheSelectionReadsAsWrittenAndEndPointsMoveAsNamed)
{
    openPage(MixedPage);
    ASSERT_TRUE(selectionRange()->pasteHTML("<i>end</i>"));
    EXPECT_NE(host->source().find("</div>\r\n<i>end</i></Body>"), std::string::npos);

    selectElement(document()->images()->item(0));
    EXPECT_EQ(selectedText(), "<IMG SRC=\"b.png\">");
    const auto before = document()->body()->createTextRange();
    ASSERT_TRUE(before->setEndPoint("EndToStart", *selectionRange()));
    EXPECT_EQ(before->htmlText(),
              "\r\n<!-- <img src=\"ghost.gif\"> -->\r\n<o:p class=x>\xff\xfe</o:p>"
              "<DIV id=a>one</DIV>\n");

    const auto range = selectionRange();
    ASSERT_TRUE(range->moveToElementText(*document()->all()->item("bee")));
    EXPECT_EQ(range->htmlText(), "two<br>");
    ASSERT_TRUE(range->setEndPoint("StartToEnd", *selectionRange()));
    EXPECT_TRUE(range->htmlText()->starts_with("<img src='c.png'"));
    ASSERT_TRUE(range->setEndPoint("EndToStart", *selectionRange()));
    EXPECT_EQ(range->htmlText(), "");
    ASSERT_TRUE(range->setEndPoint("StartToStart", *selectionRange()));
    ASSERT_TRUE(range->setEndPoint("EndToEnd", *document()->body()->createTextRange()));
    EXPECT_TRUE(range->htmlText()->starts_with("<IMG SRC=\"b.png\"><img"));
    EXPECT_FALSE(range->setEndPoint("Sideways", *selectionRange()));
    const std::pair<const char*, std::optional<int>> comparisons[] = {
        {"StartToStart", 0}, {"EndToEnd", 1}, {"StartToEnd", -1}, {"Sideways", std::nullopt}};
    for (const auto& [how, order] : comparisons)
        EXPECT_EQ(range->compareEndPoints(how, *selectionRange()), order) << how;
}

TEST_F(PageDocumentTest, OpenFailuresNameTheFileAndKeepThePreviousPage)
{
    openPage("<p>kept</p>");
    const auto missing = host->open(dir.filePath("nowhere.html"));
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.error().contains("nowhere.html") &&
                missing.error().contains("no such file"))
        << missing.error().toStdString();
    const auto folder = host->open(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_TRUE(folder.error().contains("folder"));
    EXPECT_EQ(host->source(), "<p>kept</p>");
    EXPECT_EQ(host->pagePath(), pagePath);
}

TEST_F(PageDocumentTest, ElementOperationsAndLookups)
{
    openPage("<body><div id=d>in</div><img id=i src=x.gif></body>");
    const auto all = document()->all();
    const auto div = all->tags("DIV")->item("d");
    for (const char* where : {"BeforeBegin", "AfterBegin", "BeforeEnd", "AfterEnd"})
        ASSERT_TRUE(div->insertAdjacentHTML(where, std::string("[") + where + "]"));
    EXPECT_EQ(host->source(),
              "<body>[BeforeBegin]<div id=d>[AfterBegin]in[BeforeEnd]</div>[AfterEnd]"
              "<img id=i src=x.gif></body>");
    EXPECT_EQ(div->innerHTML(), "[AfterBegin]in[BeforeEnd]");
    EXPECT_FALSE(div->insertAdjacentHTML("Middle", "x"));

    EXPECT_EQ(all->tags("img")->item("i")->createTextRange(), nullptr);
    EXPECT_FALSE(all->tags("img")->item("i")->setInnerHTML("x"));
    EXPECT_EQ(all->tags("DIV")->item("i"), nullptr);
    EXPECT_EQ(document()->images()->item(1), nullptr);
    EXPECT_EQ(document()->images()->item(-1), nullptr);
}

TEST_F(PageDocumentTest, ReferencesFollowEditsElsewhereAndDieWithTheirElement)
{
    openPage("<body><div id=a>x</div><div id=b><img id=p src=p.png>tail</div></body>");
    const auto divs = document()->all()->tags("DIV");
    const auto b = divs->item("b");
    const auto picture = document()->images()->item(0);
    const auto tailRange = selectionRange();
    ASSERT_TRUE(tailRange->moveToElementText(*b));

    ASSERT_TRUE(divs->item("a")->setInnerHTML("a much longer content"));
    EXPECT_EQ(b->innerHTML(), "<img id=p src=p.png>tail");
    EXPECT_EQ(tailRange->htmlText(), "<img id=p src=p.png>tail");
    selectElement(picture);
    EXPECT_EQ(selectedText(), "<img id=p src=p.png>");

    ASSERT_TRUE(b->setInnerHTML("gone"));
    EXPECT_TRUE(b->isAlive());
    EXPECT_FALSE(picture->isAlive());
    EXPECT_EQ(picture->tagName(), "");
    EXPECT_EQ(picture->innerHTML(), std::nullopt);
    EXPECT_EQ(picture->getAttribute("src"), std::nullopt);
    EXPECT_FALSE(picture->insertAdjacentHTML("AfterEnd", "x"));
    EXPECT_FALSE(selectionRange()->moveToElementText(*picture));
    EXPECT_EQ(selectedText(), ""); // the selection stood in the replaced span

    // A page opened later leaves the old handles answering empty.
    openPage("<p>other</p>");
    EXPECT_FALSE(b->isAlive());
    EXPECT_EQ(tailRange->htmlText(), std::nullopt);
}

TEST_F(PageDocumentTest, AmongEqualIdsTheElementThePageGainedLastWins)
{
    openPage("<body><div id=T>old</div><div id=T>older twin</div><p>here</p></body>");
    const auto divs = document()->all()->tags("DIV");
    EXPECT_EQ(divs->item("T")->innerHTML(), "old"); // equals: the first in the page

    const auto range = selectionRange();
    ASSERT_TRUE(range->moveToElementText(*document()->all()->tags("P")->item(0)));
    ASSERT_TRUE(range->pasteHTML("<DIV ID='T' NAME='T'></DIV>"));
    const auto newest = divs->item("T");
    EXPECT_EQ(newest->innerHTML(), "");

    // An element born in a later edit is newer, even inside an older element.
    ASSERT_TRUE(newest->insertAdjacentHTML("BeforeEnd", "<img id=q>"));
    const auto front = selectionRange();
    ASSERT_TRUE(front->moveToElementText(*divs->item(0)));
    ASSERT_TRUE(front->pasteHTML("<img id=q class=front>"));
    EXPECT_EQ(document()->all()->tags("IMG")->item("q")->getAttribute("class"), "front");
    ASSERT_TRUE(divs->item("T")->insertAdjacentHTML("BeforeEnd", "<img id=q class=last>"));
    EXPECT_EQ(document()->all()->tags("IMG")->item("q")->getAttribute("class"), "last");
}

// Random bytes are the fuzz regression's: these are pages a parser could misread as having a body.
TEST_F(PageDocumentTest, BrokenPagesAnswerEmptyAndKeepTheirBytes)
{
    for (const std::string& page :
         {std::string("<p>no body, no pictures"), std::string("<div id=a <img src="),
          std::string("x<!-- <img src=a>"), std::string()}) {
        openPage(page);
        EXPECT_EQ(document()->body()->createTextRange()->htmlText(), page);
        EXPECT_EQ(document()->images()->item(0), nullptr);
        EXPECT_EQ(document()->all()->tags("DIV")->item("a"), nullptr);
        ASSERT_TRUE(selectionRange()->pasteHTML("<b>"));
        EXPECT_EQ(host->source(), page + "<b>");
    }
}

} // namespace
} // namespace tilemond::host
