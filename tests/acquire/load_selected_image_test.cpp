#include "acquire_fixture.h"
#include "host/page_host.h"
#include "platform/clipboard_picture.h"
#include "support/outcome_print.h"
#include "support/test_file.h"

#include <QTemporaryDir>

namespace tilemond {
namespace {

// The editor opened on a page of the page host; pN.png is pagePicture(N).
class SelectedPicture : public AcquireTest
{
protected:
    static QImage pagePicture(int n) { return patternPicture(QSize(30 + 10 * n, 20 + 6 * n), n); }

    void openPage(const std::string& body)
    {
        for (int n = 0; n < 3; ++n)
            ASSERT_TRUE(pagePicture(n).save(m_folder.filePath(QString("p%1.png").arg(n))));
        const QString page = writeTestFile(
            m_folder.filePath("page.htm"),
            "<html><head><title>t</title></head><body>" + body + "</body></html>");
        m_host = std::make_shared<host::PageHost>(m_folder.filePath("config"));
        ASSERT_EQ(m_host->open(page), Outcome<void>());
        HostApp = m_host;
    }
    host::TextRangePtr rangeOver(const host::ElementPtr& element)
    {
        host::TextRangePtr range = m_host->activeDocument()->selection()->createRange();
        EXPECT_TRUE(range->moveToElementText(*element));
        return range;
    }
    host::ElementPtr image(int n) { return m_host->activeDocument()->images()->item(n); }

    QTemporaryDir m_folder;
    std::shared_ptr<host::PageHost> m_host;
};

TEST_F(SelectedPicture, TheFirstPictureElementAtTheSelectionIsShownOneToOne)
{
    openPage(
        "<!-- <img src=p2.png> --><IMG SRC=p0.png><script>'<img src=p2.png>'</script>"
        "<p id=intro title='<img src=p2.png>'>Intro</p> text <Img src=p1.png> <img src=p2.png>");
    const auto textAndTwoPictures = [&] {
        const host::TextRangePtr range = rangeOver(m_host->activeDocument()->all()->item("intro"));
        range->setEndPoint("EndToEnd", *rangeOver(image(2)));
        return range;
    };
    const std::vector<std::pair<std::function<host::TextRangePtr()>, int>> selections = {
        {[&] { return rangeOver(image(2)); }, 2},
        {[&] { return rangeOver(image(1)); }, 1},
        {[&] { return rangeOver(image(0)); }, 0},
        {textAndTwoPictures, 1}};
    for (const auto& [select, n] : selections) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(select()->select());
        openEditor();
        const QImage picture = pagePicture(n);
        EXPECT_TRUE(answers.asked().empty());
        EXPECT_FALSE(frmFilters().NoGraphic);
        EXPECT_EQ(picture1().size(), picture.size());
        EXPECT_TRUE(showsOneToOne(picture1(), picture));
        EXPECT_TRUE(showsOneToOne(frmPreview().image(), picture));
        EXPECT_EQ(frmPreview().size(), picture.size() + QSize(20, 20));
        EXPECT_EQ(frmPreview().Vert1[0].lineEnd().x(), previewTwips().width());
        EXPECT_EQ(frmPreview().Hori1[0].lineEnd().y(), previewTwips().height());
        EXPECT_EQ(SystemClipboard::picture().size(), picture.size());
        closeEditor();
    }
}

// A picture the host's Copy gives no pixels for leads to the offer, whatever the clipboard held.
TEST_F(SelectedPicture, APictureNotCopiedLeadsToTheOffer)
{
    openPage("<img src=missing.png>");
    ASSERT_TRUE(rangeOver(image(0))->select());
    SystemClipboard::setPicture(pagePicture(2)); // left from before: never taken
    openEditor();
    ASSERT_EQ(answers.asked().size(), 1u);
    EXPECT_EQ(answers.asked()[0].text,
              "No Image Currently In FrontPage Selected..\rSelect An Image From File?");
    EXPECT_TRUE(frmFilters().NoGraphic);
    EXPECT_TRUE(frmFilters().Picture1->picture().isNull());
}

} // namespace
} // namespace tilemond
