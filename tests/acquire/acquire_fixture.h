#pragma once

#include "acquire/picture_actions.h"
#include "editor/editor_actions.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/frm_preview.h"
#include "editor/host_app.h"
#include "platform/picture_box.h"
#include "platform/prompts.h"
#include "platform/screen_metrics.h"
#include "platform/window_geometry.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace tilemond {

// A bundled picture: 40 x 30 quadrants (red, green / blue, yellow) or a broken one.
inline QString testPicture(const QString& name)
{
    return QStringLiteral(TILEMOND_PICTURES "/") + name;
}

// A picture whose pixels all differ from their neighbours and from other seeds'.
inline QImage patternPicture(QSize size, int seed)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, seed * 60));
    return picture;
}

// `shown` holds `picture` 1:1 at its top-left corner, as far as it reaches (a surface that holds
// see-through pixels elsewhere, such as the preview's splash, has an alpha channel).
inline bool showsOneToOne(const QImage& shown, const QImage& picture)
{
    const QRect area = shown.rect().intersected(picture.rect());
    return !area.isEmpty() && shown.copy(area).convertToFormat(QImage::Format_ARGB32) ==
                                  picture.copy(area).convertToFormat(QImage::Format_ARGB32);
}

// The editor at 15 twips per pixel across and 12 down (one axis taken for the other shows) with
// the picture actions and scripted prompts.
class AcquireTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Screen::overrideTwipsPerPixel(15, 12);
        installPrompts(&answers);
        installPictureActions();
    }
    void TearDown() override
    {
        closeEditor();
        editorActions() = {};
        HostApp.reset();
        installPrompts(nullptr);
        Screen::clearOverride();
    }

    // Editor load as far as the picture goes.
    static void openEditor()
    {
        frmFilters().show();
        frmPreview().show();
        runAction(editorActions().loadSelectedImage);
    }
    static void closeEditor()
    {
        unloadFrmPreview();
        unloadFrmFilters();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QImage picture1() { return frmFilters().Picture1->image(); }
    static QSizeF previewTwips() { return outerTwips(&frmPreview()).size(); }

    ScriptedPrompts answers;
};

} // namespace tilemond
