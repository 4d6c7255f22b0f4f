#include "pictures/bounded_read.h"
#include "pictures/picture_file.h"
#include "support/outcome_print.h"
#include "support/test_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tilemond {
namespace {

TEST(BoundedReadTest, OnlyRegularFilesWithinTheBoundAreRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString small = writeTestFile(dir.filePath("small.bin"), "0123456789");

    EXPECT_EQ(readRegularFile(fifo, 100), Unexpected("it is not a regular file"));
    EXPECT_EQ(readRegularFile(dir.path(), 100), Unexpected("it is a folder"));
    EXPECT_EQ(readRegularFile(small, 9), Unexpected("it is too large: 10 bytes (at most 9 bytes)"));
    EXPECT_EQ(readRegularFile(QString::fromUtf8("a\0b", 3), 100),
              Unexpected("the name is not a valid file name"));
    const Outcome<QByteArray> read = readRegularFile(small, 10);
    ASSERT_TRUE(read) << read.error().toStdString();
    EXPECT_EQ(*read, "0123456789");

    // The picture reader says so in its own words (at once: a FIFO never ends).
    EXPECT_EQ(loadPictureFile(fifo),
              Unexpected("cannot open " + fifo + ": it is not a regular file"));
}

} // namespace
} // namespace tilemond
