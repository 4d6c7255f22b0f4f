#include "addin/connect.h"
#include "addin_fixture.h"
#include "editor/frm_filters.h"

#include <QPushButton>
#include <QTest>

namespace tilemond {
namespace {

// The split goes where the editor's picture came from, and nowhere when that picture is gone.
class SplitTargetTest : public AddInTest
{
protected:
    void SetUp() override
    {
        AddInTest::SetUp();
        openPage(R"(<body><img src="p.png"><p>between</p><img src="q.png"></body>)",
                 {{"p.png", Qt::darkCyan}, {"q.png", Qt::darkRed}}, {40, 30});
        addIn.OnConnection(host, host::ConnectMode::Startup, nullptr);
    }
    void TearDown() override
    {
        addIn.OnDisconnection(host::DisconnectMode::HostShutdown);
        AddInTest::TearDown();
    }

    void selectPicture(int n)
    {
        const auto document = host->activeDocument();
        const auto range = document->selection()->createRange();
        ASSERT_TRUE(range->moveToElementText(*document->images()->item(n)) && range->select());
    }
    void openEditor()
    {
        popup()->controls()->item("Tessora Tilemond")->Execute();
        ASSERT_TRUE(QTest::qWaitFor([] { return EditorOpen && !frmFilters().NoGraphic; }));
    }

    Connect addIn;
};

TEST_F(SplitTargetTest, PiecesReplaceThePictureTakenNotTheOneSelectedSince)
{
    selectPicture(0);
    openEditor();
    selectPicture(1);
    frmFilters().Command4->click();
    EXPECT_EQ(host->source().find(R"(<img src="p.png">)"), std::string::npos);
    EXPECT_NE(host->source().find(R"(<p>between</p><img src="q.png">)"), std::string::npos);
    EXPECT_TRUE(host->source().starts_with("<body><DIV ID='Tilemond1'")) << host->source();
}

TEST_F(SplitTargetTest, APictureGoneFromThePageIsRefusedAndNothingChanges)
{
    selectPicture(0);
    openEditor();
    selectPicture(0);
    host->paste(); // the copied picture pasted over the one the editor took
    const std::string before = host->source();
    ASSERT_EQ(before.find(R"(<img src="p.png">)"), std::string::npos);

    frmFilters().Command4->click();
    EXPECT_EQ(host->source(), before);
    ASSERT_FALSE(answers.asked().empty());
    EXPECT_EQ(answers.asked().back().text,
              "The picture the editor was opened on is no longer in the page. Nothing was cut "
              "and the page is unchanged.");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(isFrmFiltersLoaded() || isFrmPreviewLoaded() || EditorOpen);
}

} // namespace
} // namespace tilemond
