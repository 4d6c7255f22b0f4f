#pragma once

#include "acquire/picture_actions.h"
#include "platform/picture_box.h"
#include "platform/window_geometry.h"
#include "support/editor_session.h"

#include <QDir>

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

// The editor with the picture actions installed.
class AcquireTest : public EditorSession
{
protected:
    void SetUp() override
    {
        EditorSession::SetUp();
        installPictureActions();
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
        destroyUnloaded();
    }
    static QImage picture1() { return frmFilters().Picture1->image(); }
    static QSizeF previewTwips() { return outerTwips(&frmPreview()).size(); }
};

} // namespace tilemond
