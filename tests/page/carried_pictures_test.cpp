#include "host/host_fixture.h"

#include <QDir>
#include <QImage>

namespace tilemond::host {
namespace {

// Save As into another folder: every picture the page shows still shows in the copy, and its
// style sheets, scripts and links still reach their files.
class CarriedPicturesTest : public HostFixture
{
protected:
    void picture(const QString& name, QColor colour)
    {
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
        QImage image(5, 5, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(dir.filePath(name), "PNG"));
    }
};

TEST_F(CarriedPicturesTest, PicturesGoAlongOrArePointedAtWhereTheyAre)
{
    picture("site/a b.png", Qt::red);       // beside the page: carried
    picture("site/img/sub.png", Qt::green); // below it: carried into the same place
    picture("shared/up.png", Qt::blue);     // above it: pointed at
    picture("site/taken.png", Qt::cyan);    // the copy's folder holds another taken.png
    picture("out/taken.png", Qt::black);
    picture("site/same.png", Qt::gray); // ...and the very same same.png
    picture("out/same.png", Qt::gray);
    write("site/s.css", "img{}");
    write("site/other.html", "");
    const std::string head =
        "<link rel=stylesheet href=\"s.css\"><script src=\"gone.js\"></script>"
        "<a href=\"#top\"></a><a href=\"other.html#x\"></a><a href=\"index.html#x\"></a>";
    const std::string page = head +
                             "<body><img src=\"a%20b.png\"><img src=\"img/sub.png?v=2\">"
                             "<img src=\"../shared/up.png\"><img src=\"taken.png\">"
                             "<img src=\"same.png\"><img src=\"gone.png\"><img src=\"a%20b.png\">"
                             "<img src=\"http://example.org/x.png\"></body>";
    write("site/index.html", page);
    ASSERT_EQ(host->open(dir.filePath("site/index.html")), Outcome<void>());

    ASSERT_EQ(host->saveAs(dir.filePath("out/copy.html")), Outcome<void>());
    const std::string saved = read(dir.filePath("out/copy.html"));
    EXPECT_EQ(
        saved,
        "<link rel=stylesheet href=\"../site/s.css\"><script src=\"gone.js\"></script>"
        "<a href=\"#top\"></a><a href=\"../site/other.html#x\"></a><a href=\"copy.html#x\"></a>"
        "<body><img src=\"a%20b.png\"><img src=\"img/sub.png?v=2\">"
        "<img src=\"../shared/up.png\"><img src=\"../site/taken.png\">"
        "<img src=\"same.png\"><img src=\"gone.png\"><img src=\"a%20b.png\">"
        "<img src=\"http://example.org/x.png\"></body>");
    EXPECT_EQ(host->source(), saved);
    EXPECT_EQ(read(dir.filePath("out/a b.png")), read(dir.filePath("site/a b.png")));
    EXPECT_EQ(read(dir.filePath("out/img/sub.png")), read(dir.filePath("site/img/sub.png")));
    EXPECT_EQ(QImage(dir.filePath("out/taken.png")).pixelColor(0, 0), QColor(Qt::black));
    for (const char* src :
         {"a%20b.png", "img/sub.png?v=2", "../shared/up.png", "../site/taken.png", "same.png"})
        EXPECT_FALSE(host->picture(src).isNull()) << src;
    EXPECT_EQ(read(dir.filePath("site/index.html")), page);
    EXPECT_FALSE(host->hasUnsavedChanges());
}

} // namespace
} // namespace tilemond::host
