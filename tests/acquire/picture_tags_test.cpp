#include "acquire/picture_tags.h"

#include <gtest/gtest.h>

namespace tilemond {

TEST(PictureTags, CountsPictureElementsNotPictureText)
{
    EXPECT_EQ(countPictureTags("Words <b>bold</b> <table><tr><td>x</td></tr>"), 0);
    EXPECT_EQ(countPictureTags("<IMG SRC='a.png'> text <Img\nsrc=b.png/><p><iMg src=c.png>"), 3);
    EXPECT_EQ(countPictureTags("<div><p>Open elements <img src=a.png> <span>up to here "), 1);
    EXPECT_EQ(countPictureTags("<!-- <img src=old.png> --><img src=a.png><!-- <img>"), 1);
    EXPECT_EQ(countPictureTags("<script>document.write('<img src=x.png>');</script>"
                               "<style>/* <img> */</style><textarea><img></textarea>"
                               "<a title=\"<img src=x.png>\" href='<img>'>link</a>"
                               "&lt;img src=x.png&gt; <imgx> <im g>"),
              0);
}

} // namespace tilemond
