#include "platform/clipboard_picture.h"

#include "platform/picture_format.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tilemond::SystemClipboard {

QImage picture()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage())
        return {};
    return heldPicture(qvariant_cast<QImage>(data->imageData()));
}

void setPicture(const QImage& picture)
{
    QGuiApplication::clipboard()->setImage(picture);
}

QString text()
{
    return QGuiApplication::clipboard()->text();
}

void clear()
{
    QGuiApplication::clipboard()->clear();
}

} // namespace tilemond::SystemClipboard
