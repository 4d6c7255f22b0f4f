#include "platform/clipboard_picture.h"

#include "platform/held_picture.h"

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

std::unique_ptr<QMimeData> contents()
{
    auto copy = std::make_unique<QMimeData>();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return copy;
    // A picture is held as an image, which no byte form carries.
    const QString qtImage = QStringLiteral("application/x-qt-image");
    for (const QString& format : data->formats())
        if (format != qtImage)
            copy->setData(format, data->data(format));
    if (data->hasImage())
        copy->setImageData(data->imageData());
    return copy;
}

bool isEmpty()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return !data || data->formats().isEmpty();
}

ChangeWatch::ChangeWatch()
    : m_connection(QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed,
                                    [this](QClipboard::Mode mode) {
                                        if (mode == QClipboard::Clipboard)
                                            ++m_changes;
                                    }))
{
}

ChangeWatch::~ChangeWatch()
{
    QObject::disconnect(m_connection);
}

void restore(std::unique_ptr<QMimeData> contents)
{
    if (!contents || contents->formats().isEmpty())
        clear();
    else
        QGuiApplication::clipboard()->setMimeData(contents.release());
}

} // namespace tilemond::SystemClipboard
