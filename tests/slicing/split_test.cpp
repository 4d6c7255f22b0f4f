#include "slicing/table_insertion.h"
#include "split_fixture.h"

#include <QRegularExpression>
#include <QTimer>
#include <QXmlStreamReader>

namespace tilemond {
namespace {

const std::string Before = "<!DOCTYPE html>\r\n<HTML><head><title>Shop</title></head>\r\n<body>\r\n"
                           "<!-- banner -->\r\n<center>";
const std::string Between = "</center>\r\n<p class=x>Text &amp; more</p>\r\n";
const std::string After = "\r\n</body></HTML>\r\n";
// The markup with every style attribute's value read as "*": the browser checks see what the
// styles do, these see the structure.
std::string withoutStyles(const std::string& markup)
{
    static const QRegularExpression style("(style)=(['\"])[^'\"]*\\2",
                                          QRegularExpression::CaseInsensitiveOption);
    return QString::fromStdString(markup).replace(style, "\\1=\\2*\\2").toStdString();
}
const std::string Container = "<DIV ID='Tilemond1' NAME='Tilemond1' STYLE='*'>";
const std::string TableStart = "<TABLE cellspacing='0' cellpadding='0' border='0' STYLE='*'>";

// A pasted piece; `says` are its alt and title attributes.
std::string piece(int width, int height, const std::string& says = " alt=\"\"")
{
    return "<img src=\"*\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\"" + says + " style=\"*\">";
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

struct MarkerCase
{
    const char* name;
    QSize size;
    std::vector<float> xs, ys;
    std::vector<int> columnEdges, rowEdges; // where the cells should lie
};

class SplitMarkers : public Split, public ::testing::WithParamInterface<MarkerCase>
{
};

// The markers split into a table at the page's first picture, then into lines at its second:
// zero-size cells keep their place in a table; in lines they add nothing, not even a line break
// for a row of no height.
TEST_P(SplitMarkers, IntoATableThenIntoLines)
{
    const MarkerCase& c = GetParam();
    const QImage picture = testPicture(c.size.width(), c.size.height());
    loadIntoEditor(picture);
    split(c.xs, c.ys, true);
    expectEditingOver(1);
    selectPicture("second.png");
    loadIntoEditor(picture);
    split(c.xs, c.ys, false);
    expectEditingOver(2);

    const SavedPage page = savePage();
    const auto rows = cellsBetween(c.columnEdges, c.rowEdges);
    std::string table = TableStart;
    std::string lines;
    for (const auto& row : rows) {
        table += "<TR STYLE='*'>";
        for (const QRect& cell : row) {
            const std::string pasted = cell.isEmpty() ? "" : piece(cell.width(), cell.height());
            // The first piece says what the picture said (the banner's alt; the second has none).
            const bool first = table.find("<img") == std::string::npos;
            table += "<TD STYLE='*'>" +
                     (first && !pasted.empty() ? piece(cell.width(), cell.height(), " alt=\"b\"")
                                               : pasted) +
                     "</TD>";
            lines += pasted;
        }
        table += "</TR>";
        if (row.front().height() > 0)
            lines += "<BR>";
    }
    EXPECT_EQ(withoutStyles(page.markup), Before + Container + table + "</TABLE></DIV>" + Between +
                                              Container + lines + "</DIV>" + After);
    std::vector<std::vector<QRect>> twice = rows;
    twice.insert(twice.end(), rows.begin(), rows.end());
    expectPieces(page, picture, twice);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, SplitMarkers,
    ::testing::Values(MarkerCase{"TheExample", {200, 100}, {80}, {30}, {0, 80, 200}, {0, 30, 100}},
                      // 100.5 cuts at 100 and 61.5 at 62 (ties to even); 103 lies below the
                      // picture, within the drag limit.
                      MarkerCase{"AnyOrderOnOnePixelOrBeyondTheEdge",
                                 {200, 100},
                                 {100.5f, 20, 100},
                                 {61.5f, 30, 103, 30},
                                 {0, 20, 100, 100, 200},
                                 {0, 30, 30, 62, 100, 100}},
                      MarkerCase{
                          "HorizontalOnly", {300, 90}, {}, {70, 25}, {0, 300}, {0, 25, 70, 90}},
                      MarkerCase{"None", {300, 90}, {}, {}, {0, 300}, {0, 90}}),
    [](const auto& info) { return std::string(info.param.name); });

// Within a paragraph a division would close it, and leave a link around the picture empty: the
// container and its table are spans there. The container carries what placed the picture; the
// first piece says what the picture said.
TEST_F(Split, InAParagraphThePiecesStandInSpansAndKeepWhatThePictureSaid)
{
    openPage("<p><a href=x><IMG SRC='banner.png' align=middle hspace=2 class=logo alt='A \"b\"' "
             "title=T style=\"color:red;display:inline\"></a> text</p>");
    selectPicture("banner.png");
    loadIntoEditor(testPicture(200, 100));
    split({80}, {}, true);

    const std::string cell = "<SPAN STYLE='*'>";
    const std::string expected =
        "<p><a href=x><SPAN ID='Tilemond1' NAME='Tilemond1' STYLE='*' CLASS='logo'><SPAN "
        "STYLE='*'><SPAN STYLE='*'>" +
        cell + piece(80, 100, " alt=\"A &quot;b&quot;\" title=\"T\"") + "</SPAN>" + cell +
        piece(120, 100) + "</SPAN></SPAN></SPAN></SPAN></a> text</p>";
    const std::string markup = savePage().markup;
    EXPECT_NE(withoutStyles(markup).find(expected), std::string::npos) << markup;
    EXPECT_NE(
        markup.find(";vertical-align:-webkit-baseline-middle;margin-left:2px;margin-right:2px;"
                    "color:red' CLASS='logo'>"),
        std::string::npos)
        << markup;
}

// A page read as XML takes nothing but well-formed lower-case markup, or it shows an XML error.
TEST_F(Split, PagesReadAsXmlStayWellFormed)
{
    pageName = "index.xhtml";
    openPage(
        "<?xml version=\"1.0\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p>"
        "<img src=\"banner.png\" alt=\"a &amp; b\"/></p><img src=\"second.png\"/></body></html>");
    for (const bool table : {true, false}) {
        selectPicture(table ? "banner.png" : "second.png");
        loadIntoEditor(testPicture(200, 100));
        split({80}, {30}, table);
    }
    const std::string markup = savePage().markup;
    QXmlStreamReader xml(QByteArray::fromStdString(markup));
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << "\n" << markup;
    EXPECT_FALSE(QRegularExpression("</?[A-Z]").match(QString::fromStdString(markup)).hasMatch())
        << markup;
    EXPECT_NE(markup.find("alt=\"a &amp; b\""), std::string::npos);
}

TEST_F(Split, RefusesWithoutAPicture)
{
    const std::string before = host->source();
    frmFilters().NoGraphic = true;
    SetTopmost(frmFilters(), true);
    QTest::mouseClick(frmFilters().Command4, Qt::LeftButton);

    // The refusal itself: the editor's RefusalTest.
    ASSERT_EQ(answers.asked().size(), 1u);
    EXPECT_EQ(answers.asked()[0].text, "No Graphic Currently Loaded...Exiting");
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
    expectPieces(page, picture, cellsBetween({0, 80, 200}, {0, 30, 100}));
}

TEST_F(Split, LineModeDropsOpeningParagraphTagsOnly)
{
    TableInsertion insertion([] { return 0; }, nullptr, 0);
    insertion.OpenContainer();
    host->activeDocument()
        ->all()
        ->tags("DIV")
        ->item("Tilemond1")
        ->setInnerHTML("<P>a<p>b</p><p class=x>c</P><BR>");
    insertion.CloseContainer();
    EXPECT_NE(withoutStyles(host->source())
                  .find(Container + "ab</p><p class=x>c</P><BR></DIV>" + Between),
              std::string::npos);
}

} // namespace
} // namespace tilemond
