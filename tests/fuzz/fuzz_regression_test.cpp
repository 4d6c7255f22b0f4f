#include "fuzz_checks.h"

#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

#include <functional>

namespace tilemond::fuzz {
namespace {

using Check = std::function<void(const std::uint8_t*, std::size_t)>;

// Runs the check on every file in the target's folder of each root; a broken promise aborts.
int checkEvery(const QString& target, const Check& check)
{
    int count = 0;
    for (const char* root : {TILEMOND_FUZZ_CORPUS, TILEMOND_FUZZ_INPUTS}) {
        QDirIterator files(QString::fromUtf8(root) + "/" + target, QDir::Files);
        while (files.hasNext()) {
            QFile file(files.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(file.fileName().toStdString());
            check(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size()));
            ++count;
        }
    }
    return count;
}

TEST(FuzzRegression, EveryTargetKeepsItsPromisesOnEveryKeptInput)
{
    const std::pair<const char*, Check> targets[] = {{"page_document", checkPageDocument},
                                                     {"replace_text", checkReplaceText},
                                                     {"piece_files", checkPieceFiles}};
    for (const auto& [target, check] : targets)
        EXPECT_GT(checkEvery(target, check), 0) << target;
    for (const char* format : {"bmp", "jpg", "gif", "png", "wmf", "emf"})
        EXPECT_GT(checkEvery(QStringLiteral("picture_") + format,
                             [format](const std::uint8_t* data, std::size_t size) {
                                 checkPicture(format, data, size);
                             }),
                  0)
            << format;
}

} // namespace
} // namespace tilemond::fuzz
