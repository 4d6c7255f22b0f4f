#pragma once

#include "acquire/fit_preview.h"
#include "editor/topmost.h"
#include "host/page_host.h"
#include "platform/clipboard_picture.h"
#include "platform/picture_box.h"
#include "slicing/split_command.h"
#include "support/editor_session.h"
#include "support/outcome_print.h"
#include "support/test_file.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace tilemond {

// A picture whose every pixel tells where it lies.
inline QImage testPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + (y / 256)));
    return picture;
}

// The page "index.html" in a fresh folder, open in the real page host as HostApp, and the two
// editor windows on a screen of 15 twips per pixel with the split installed on Okay.
class SplitTest : public EditorSession
{
protected:
    SplitTest() : EditorSession(15, 15) {}

    void SetUp() override
    {
        EditorSession::SetUp();
        editorActions().split = Command4_Click;
        host = std::make_shared<host::PageHost>(folder.filePath("config"));
        HostApp = host;
    }

    void TearDown() override
    {
        EditorSession::TearDown();
        SystemClipboard::clear();
    }

    QString pagePath() const { return folder.filePath(pageName); }

    void openPage(const std::string& bytes)
    {
        ASSERT_EQ(host->open(writeTestFile(pagePath(), bytes)), Outcome<void>());
    }

    // Makes the page's picture whose src is `src` the page's selection and the editor's split
    // target, as taking it from the page does.
    void selectPicture(std::string_view src)
    {
        const auto images = host->activeDocument()->images();
        for (int i = 0; i < images->length(); ++i)
            if (images->item(i)->getAttribute("src") == src) {
                const auto range = host->activeDocument()->selection()->createRange();
                ASSERT_TRUE(range->moveToElementText(*images->item(i)));
                ASSERT_TRUE(range->select());
                frmFilters().splitTarget = {images->item(i), range};
                return;
            }
        FAIL() << "no picture " << src;
    }

    // The picture on Picture1 and 1:1 on the preview, sized as the picture taking does, and
    // both windows shown as at editor load.
    static void loadIntoEditor(const QImage& picture)
    {
        FiltersForm& editor = frmFilters();
        PreviewForm& preview = frmPreview();
        editor.Picture1->setPicture(picture);
        FitPreviewToPicture();
        SetTopmost(preview, true);
        SetTopmost(editor, true);
    }

    // Markers through the editor's own buttons, then placed at their positions in pixels; then
    // Okay.
    static void split(std::vector<float> xs, std::vector<float> ys, bool table)
    {
        for (const float x : xs) {
            QTest::mouseClick(frmFilters().Command1, Qt::LeftButton);
            frmPreview().Hori1[frmFilters().VMarkerLast].setLeft(x * 15);
        }
        for (const float y : ys) {
            QTest::mouseClick(frmFilters().Command2, Qt::LeftButton);
            frmPreview().Vert1[frmFilters().HMarkerLast].setTop(y * 15);
        }
        frmFilters().chkTable->setChecked(table);
        QTest::mouseClick(frmFilters().Command4, Qt::LeftButton);
    }

    // The saved page, with the pieces it names read from their files in page order; every
    // piece's src reads "*" in the markup.
    struct SavedPage
    {
        std::string markup;
        std::vector<QImage> pieces;
    };
    SavedPage savePage()
    {
        EXPECT_EQ(host->save(), Outcome<void>());
        QFile file(pagePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QString page = QString::fromUtf8(file.readAll());
        SavedPage saved;
        static const QRegularExpression piece("src=\"(index_files/[^\"]+)\"");
        for (const auto& match : piece.globalMatch(page))
            saved.pieces.push_back(
                QImage(folder.filePath(match.captured(1))).convertToFormat(QImage::Format_RGB32));
        saved.markup = page.replace(piece, "src=\"*\"").toStdString();
        return saved;
    }

    QTemporaryDir folder;
    QString pageName = QStringLiteral("index.html");
    std::shared_ptr<host::PageHost> host;
};

} // namespace tilemond
