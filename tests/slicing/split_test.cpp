#include "slicing/table_insertion.h"
#include "split_fixture.h"

#include <QTimer>

namespace tilemond {
namespace {

const std::string Before = "<!DOCTYPE html>\r\n<HTML><head><title>Shop</title></head>\r\n<body>\r\n"
                           "<!-- banner -->\r\n<center>";
const std::string Selected = "<IMG SRC='banner.png' alt=\"b\">";
const std::string After = "</center>\r\n<p class=x>Text &amp; more</p>\r\n<img src=\"second.png\">"
                          "\r\n</body></HTML>\r\n";
const std::string Container = "<DIV ID='Tilemond1' NAME='Tilemond1'>";
const std::string TableStart = "<TABLE cellspacing='0' cellpadding='0' border='0'>";

std::string piece(int width, int height)
{
    return "<img src=\"*\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\">";
}

// The cells between successive edges, row by row.
std::vector<std::vector<QRect>> cellsBetween(const std::vector<int>& xs, const std::vector<int>& ys)
{
    std::vector<std::vector<QRect>> rows;
    for (size_t r = 1; r < ys.size(); ++r) {
        rows.emplace_back();
        for (size_t c = 1; c < xs.size(); ++c)
            rows.back().emplace_back(xs[c - 1], ys[r - 1], xs[c] - xs[c - 1], ys[r] - ys[r - 1]);
    }
    return rows;
}

std::string tableOf(const std::vector<std::vector<QRect>>& rows)
{
    std::string table = TableStart;
    for (const auto& row : rows) {
        table += "<TR>";
        for (const QRect& cell : row)
            table += "<TD>" + (cell.isEmpty() ? "" : piece(cell.width(), cell.height())) + "</TD>";
        table += "</TR>";
    }
    return table + "</TABLE>";
}

class Split : public SplitTest
{
protected:
    void SetUp() override
    {
        SplitTest::SetUp();
        openPage(Before + Selected + After);
        selectPicture("banner.png");
        host->setRefreshHandler([this] { ++refreshes; });
    }

    // Every cell with pixels came back as a piece file, in reading order.
    void expectPieces(const SavedPage& page, const QImage& picture,
                      const std::vector<std::vector<QRect>>& rows)
    {
        std::vector<QImage> expected;
        for (const auto& row : rows)
            for (const QRect& cell : row)
                if (!cell.isEmpty())
                    expected.push_back(picture.copy(cell));
        EXPECT_EQ(page.pieces, expected);
    }

    void expectEditingOver()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(isFrmFiltersLoaded());
        EXPECT_FALSE(isFrmPreviewLoaded());
        EXPECT_FALSE(EditorOpen);
        EXPECT_TRUE(SystemClipboard::picture().isNull());
        EXPECT_TRUE(SystemClipboard::text().isEmpty());
        EXPECT_EQ(refreshes, 1);
    }

    int refreshes = 0;
};

TEST_F(Split, TheExampleIntoATable)
{
    const QImage picture = testPicture(200, 100);
    loadIntoEditor(picture);
    addVerticalMarkerAt(80);
    addHorizontalMarkerAt(30);
    pressOkay(true);

    expectEditingOver();
    const SavedPage page = savePage();
    EXPECT_EQ(page.markup, Before + Container + TableStart + "<TR><TD>" + piece(80, 30) +
                               "</TD><TD>" + piece(120, 30) + "</TD></TR><TR><TD>" + piece(80, 70) +
                               "</TD><TD>" + piece(120, 70) + "</TD></TR></TABLE></DIV>" + After);
    expectPieces(page, picture, cellsBetween({0, 80, 200}, {0, 30, 100}));
}

TEST_F(Split, TheExampleInLines)
{
    const QImage picture = testPicture(200, 100);
    loadIntoEditor(picture);
    addHorizontalMarkerAt(30);
    addVerticalMarkerAt(80);
    pressOkay(false);

    expectEditingOver();
    const SavedPage page = savePage();
    EXPECT_EQ(page.markup, Before + Container + piece(80, 30) + piece(120, 30) + "<BR>" +
                               piece(80, 70) + piece(120, 70) + "<BR></DIV>" + After);
    expectPieces(page, picture, cellsBetween({0, 80, 200}, {0, 30, 100}));
}

TEST_F(Split, MarkersInAnyOrderOnOnePixelOrBeyondTheEdge)
{
    const QImage picture = testPicture(200, 100);
    loadIntoEditor(picture);
    addVerticalMarkerAt(100.5f); // cuts at 100, ties to even
    addVerticalMarkerAt(20);
    addHorizontalMarkerAt(61.5f); // at 62
    addHorizontalMarkerAt(30);
    addHorizontalMarkerAt(103); // below the picture, within the drag limit
    addHorizontalMarkerAt(30);
    pressOkay(true);

    expectEditingOver();
    const SavedPage page = savePage();
    const auto rows = cellsBetween({0, 20, 100, 200}, {0, 30, 30, 62, 100, 100});
    EXPECT_EQ(page.markup, Before + Container + tableOf(rows) + "</DIV>" + After);
    EXPECT_EQ(page.markup.find("QZInsertPic"), std::string::npos);
    expectPieces(page, picture, rows);
}

TEST_F(Split, WithoutMarkersOrWithHorizontalOnes)
{
    const QImage picture = testPicture(300, 90);
    loadIntoEditor(picture);
    pressOkay(true);
    expectEditingOver();
    SavedPage page = savePage();
    EXPECT_EQ(page.markup, Before + Container + TableStart + "<TR><TD>" + piece(300, 90) +
                               "</TD></TR></TABLE></DIV>" + After);
    expectPieces(page, picture, {{{0, 0, 300, 90}}});

    selectPicture("second.png");
    loadIntoEditor(picture);
    addHorizontalMarkerAt(70);
    addHorizontalMarkerAt(25);
    pressOkay(false);
    page = savePage();
    EXPECT_NE(page.markup.find(Container + piece(300, 25) + "<BR>" + piece(300, 45) + "<BR>" +
                               piece(300, 20) + "<BR></DIV>\r\n</body>"),
              std::string::npos);
    expectPieces(page, picture,
                 {{{0, 0, 300, 90}}, {{0, 0, 300, 25}}, {{0, 25, 300, 45}}, {{0, 70, 300, 20}}});
}

TEST_F(Split, ASecondSplitLeavesTheFirstTableAsItWas)
{
    const QImage picture = testPicture(200, 100);
    loadIntoEditor(picture);
    addVerticalMarkerAt(80);
    addHorizontalMarkerAt(30);
    pressOkay(true);
    const std::string first = savePage().markup.substr(Before.size());

    selectPicture("second.png");
    loadIntoEditor(testPicture(40, 40));
    pressOkay(true);
    const std::string page = savePage().markup.substr(Before.size());
    const std::string firstTable = first.substr(0, first.find("</DIV>") + 6);
    EXPECT_TRUE(page.starts_with(firstTable));
    EXPECT_NE(page.find(Container + TableStart + "<TR><TD>" + piece(40, 40) + "</TD></TR>"),
              std::string::npos);
}

TEST_F(Split, RefusesWithoutAPicture)
{
    frmFilters().NoGraphic = true;
    SetTopmost(frmFilters(), true);
    QTest::mouseClick(frmFilters().Command4, Qt::LeftButton);

    ASSERT_EQ(answers.asked().size(), 1u);
    EXPECT_EQ(answers.asked()[0].text, "No Graphic Currently Loaded...Exiting");
    EXPECT_EQ(answers.asked()[0].title, "Tessora Tilemond");
    EXPECT_EQ(answers.asked()[0].style, 64);
    EXPECT_FALSE(isFrmFiltersLoaded());
    EXPECT_FALSE(isFrmPreviewLoaded());
    EXPECT_EQ(host->source(), Before + Selected + After);
    EXPECT_FALSE(host->hasUnsavedChanges());
}

TEST_F(Split, ClicksWhileSplittingAreIgnored)
{
    int closes = 0;
    int splits = 0;
    editorActions().cancel = [&] {
        ++closes;
        unloadFrmPreview();
        unloadFrmFilters();
    };
    editorActions().split = [&] {
        ++splits;
        Command4_Click();
    };
    const QImage picture = testPicture(200, 100);
    loadIntoEditor(picture);
    addVerticalMarkerAt(80);
    addHorizontalMarkerAt(30);
    // Runs in the split's first yield, before the markers are read.
    QTimer::singleShot(0, [] {
        FiltersForm& editor = frmFilters();
        for (QPushButton* button :
             {editor.Command4, editor.Command6, editor.Command1, editor.Command5, editor.Command8})
            button->click();
    });
    pressOkay(true);

    EXPECT_EQ(splits, 1);
    EXPECT_EQ(closes, 0);
    const SavedPage page = savePage();
    EXPECT_NE(page.markup.find(Container + tableOf(cellsBetween({0, 80, 200}, {0, 30, 100}))),
              std::string::npos);
    expectPieces(page, picture, cellsBetween({0, 80, 200}, {0, 30, 100}));
}

TEST_F(Split, LineModeDropsOpeningParagraphTagsOnly)
{
    TableInsertion insertion([] { return 0; });
    insertion.OpenContainer();
    host->activeDocument()
        ->all()
        ->tags("DIV")
        ->item("Tilemond1")
        ->setInnerHTML("<P>a<p>b</p><p class=x>c</P><BR>");
    insertion.CloseContainer();
    EXPECT_EQ(host->source(), Before + Container + "ab</p><p class=x>c</P><BR></DIV>" + After);
    EXPECT_TRUE(insertion.tableHtml().empty());
}

} // namespace
} // namespace tilemond
