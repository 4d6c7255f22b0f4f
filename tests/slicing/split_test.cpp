#include "slicing/table_insertion.h"
#include "split_fixture.h"

#include <QTimer>

namespace tilemond {
namespace {

const std::string Before = "<!DOCTYPE html>\r\n<HTML><head><title>Shop</title></head>\r\n<body>\r\n"
                           "<!-- banner -->\r\n<center>";
const std::string Between = "</center>\r\n<p class=x>Text &amp; more</p>\r\n";
const std::string After = "\r\n</body></HTML>\r\n";
const std::string Container =
    "<DIV ID='Tilemond1' NAME='Tilemond1' STYLE='line-height:0;white-space:nowrap'>";
const std::string TableStart = "<TABLE cellspacing='0' cellpadding='0' border='0'>";

std::string piece(int width, int height)
{
    return "<img src=\"*\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) +
           "\" alt=\"\" style=\"vertical-align:top;max-width:none;border:0;margin:0;padding:0\">";
}

// The cells between successive edges, row by row.
std::vector<std::vector<QRect>> cellsBetween(const std::vector<int>& xs, const std::vector<int>& ys)
{
    std::vector<std::vector<QRect>> rows(ys.size() - 1);
    for (size_t r = 1; r < ys.size(); ++r)
        for (size_t c = 1; c < xs.size(); ++c)
            rows[r - 1].emplace_back(xs[c - 1], ys[r - 1], xs[c] - xs[c - 1], ys[r] - ys[r - 1]);
    return rows;
}

class Split : public SplitTest
{
protected:
    void SetUp() override
    {
        SplitTest::SetUp();
        openPage(Before + "<IMG SRC='banner.png' alt=\"b\">" + Between +
                 "<img src=\"second.png\">" + After);
        selectPicture("banner.png");
        host->setRefreshHandler([this] { ++refreshes; });
    }

    // Every cell with pixels came back as a piece file, in reading order.
    static void expectPieces(const SavedPage& page, const QImage& picture,
                             const std::vector<std::vector<QRect>>& rows)
    {
        std::vector<QImage> expected;
        for (const auto& row : rows)
            for (const QRect& cell : row)
                if (!cell.isEmpty())
                    expected.push_back(picture.copy(cell));
        EXPECT_EQ(page.pieces, expected);
    }

    void expectEditingOver(int splits)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(isFrmFiltersLoaded());
        EXPECT_FALSE(isFrmPreviewLoaded());
        EXPECT_FALSE(EditorOpen);
        EXPECT_TRUE(SystemClipboard::picture().isNull());
        EXPECT_TRUE(SystemClipboard::text().isEmpty());
        EXPECT_EQ(refreshes, splits);
    }

    int refreshes = 0;
};

// The example of one vertical marker at 80 px and one horizontal at 30 px on a 200 x 100
// picture, into a table and then, at the page's second picture, into lines.
TEST_F(Split, TheExampleIntoATableThenIntoLines)
{
    const QImage picture = testPicture(200, 100);
    loadIntoEditor(picture);
    split({80}, {30}, true);
    expectEditingOver(1);
    selectPicture("second.png");
    loadIntoEditor(picture);
    split({80}, {30}, false);
    expectEditingOver(2);

    const SavedPage page = savePage();
    EXPECT_EQ(page.markup, Before + Container + TableStart + "<TR><TD>" + piece(80, 30) +
                               "</TD><TD>" + piece(120, 30) + "</TD></TR><TR><TD>" + piece(80, 70) +
                               "</TD><TD>" + piece(120, 70) + "</TD></TR></TABLE></DIV>" + Between +
                               Container + piece(80, 30) + piece(120, 30) + "<BR>" + piece(80, 70) +
                               piece(120, 70) + "<BR></DIV>" + After);
    const auto cells = cellsBetween({0, 80, 200}, {0, 30, 100});
    std::vector<std::vector<QRect>> twice = cells;
    twice.insert(twice.end(), cells.begin(), cells.end());
    expectPieces(page, picture, twice);
}

// Zero-size cells keep their place in a table; in lines they add nothing, not even a line break
// for a row of no height.
TEST_F(Split, MarkersInAnyOrderOnOnePixelOrBeyondTheEdge)
{
    const QImage picture = testPicture(200, 100);
    // 100.5 cuts at 100 and 61.5 at 62 (ties to even); 103 lies below the picture, within the
    // drag limit.
    const std::vector<float> xs = {100.5f, 20, 100};
    const std::vector<float> ys = {61.5f, 30, 103, 30};
    loadIntoEditor(picture);
    split(xs, ys, true);
    expectEditingOver(1);
    selectPicture("second.png");
    loadIntoEditor(picture);
    split(xs, ys, false);
    expectEditingOver(2);

    const SavedPage page = savePage();
    const auto rows = cellsBetween({0, 20, 100, 100, 200}, {0, 30, 30, 62, 100, 100});
    std::string table = TableStart;
    std::string lines;
    for (const auto& row : rows) {
        table += "<TR>";
        for (const QRect& cell : row) {
            const std::string pasted = cell.isEmpty() ? "" : piece(cell.width(), cell.height());
            table += "<TD>" + pasted + "</TD>";
            lines += pasted;
        }
        table += "</TR>";
        if (row.front().height() > 0)
            lines += "<BR>";
    }
    EXPECT_EQ(page.markup, Before + Container + table + "</TABLE></DIV>" + Between + Container +
                               lines + "</DIV>" + After);
    EXPECT_EQ(page.markup.find("QZInsertPic"), std::string::npos);
    std::vector<std::vector<QRect>> twice = rows;
    twice.insert(twice.end(), rows.begin(), rows.end());
    expectPieces(page, picture, twice);
}

TEST_F(Split, WithoutMarkersOrWithHorizontalOnesOnly)
{
    const QImage picture = testPicture(300, 90);
    loadIntoEditor(picture);
    split({}, {}, true);
    selectPicture("second.png");
    loadIntoEditor(picture);
    split({}, {70, 25}, false);

    const SavedPage page = savePage();
    EXPECT_EQ(page.markup, Before + Container + TableStart + "<TR><TD>" + piece(300, 90) +
                               "</TD></TR></TABLE></DIV>" + Between + Container + piece(300, 25) +
                               "<BR>" + piece(300, 45) + "<BR>" + piece(300, 20) + "<BR></DIV>" +
                               After);
    expectPieces(page, picture,
                 {{{0, 0, 300, 90}}, {{0, 0, 300, 25}}, {{0, 25, 300, 45}}, {{0, 70, 300, 20}}});
}

TEST_F(Split, RefusesWithoutAPicture)
{
    const std::string before = host->source();
    frmFilters().NoGraphic = true;
    SetTopmost(frmFilters(), true);
    QTest::mouseClick(frmFilters().Command4, Qt::LeftButton);

    ASSERT_EQ(answers.asked().size(), 1u);
    EXPECT_EQ(answers.asked()[0].text, "No Graphic Currently Loaded...Exiting");
    EXPECT_EQ(answers.asked()[0].title, "Tessora Tilemond");
    EXPECT_EQ(answers.asked()[0].style, 64);
    EXPECT_FALSE(isFrmFiltersLoaded());
    EXPECT_FALSE(isFrmPreviewLoaded());
    EXPECT_EQ(host->source(), before);
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
    // Runs in the split's first yield, before the markers are read.
    QTimer::singleShot(0, [] {
        FiltersForm& editor = frmFilters();
        for (QPushButton* button :
             {editor.Command4, editor.Command6, editor.Command1, editor.Command5, editor.Command8})
            button->click();
    });
    split({80}, {30}, true);

    EXPECT_EQ(splits, 1);
    EXPECT_EQ(closes, 0);
    const SavedPage page = savePage();
    EXPECT_EQ(page.pieces.size(), 4u);
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
    EXPECT_NE(host->source().find(Container + "ab</p><p class=x>c</P><BR></DIV>" + Between),
              std::string::npos);
}

} // namespace
} // namespace tilemond
