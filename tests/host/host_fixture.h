#pragma once

#include "host/page_host.h"
#include "support/outcome_print.h"
#include "support/test_file.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tilemond::host {

// A page host with its own config folder and one page in a temporary folder.
class HostFixture : public ::testing::Test
{
protected:
    HostFixture() : host(std::make_unique<PageHost>(dir.filePath("config"))) {}

    QString write(const QString& name, const std::string& bytes)
    {
        return writeTestFile(dir.filePath(name), bytes);
    }

    static std::string read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString()
                                              : std::string("<missing>");
    }

    // Equal pixels, whatever the formats; see-through ones compare premultiplied.
    static bool samePixels(const QImage& a, const QImage& b)
    {
        return !a.isNull() && a.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
                                  b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    void openPage(const std::string& bytes)
    {
        pagePath = write("index.html", bytes);
        ASSERT_EQ(host->open(pagePath), Outcome<void>());
    }

    // The files in which pasted pictures wait beside the page for its save.
    QStringList unsavedFiles() const
    {
        return QDir(dir.path()).entryList({".tilemond-pasted-*"}, QDir::Files | QDir::Hidden);
    }

    DocumentPtr document() { return host->activeDocument(); }
    TextRangePtr selectionRange() { return document()->selection()->createRange(); }
    std::string selectedText() { return selectionRange()->htmlText().value_or("<none>"); }

    void selectElement(const ElementPtr& element)
    {
        const auto range = selectionRange();
        ASSERT_TRUE(element && range->moveToElementText(*element));
        ASSERT_TRUE(range->select());
    }

    QTemporaryDir dir;
    std::unique_ptr<PageHost> host;
    QString pagePath;
};

} // namespace tilemond::host
