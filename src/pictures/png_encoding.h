#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tilemond::host {

// A picture as the bytes of its file, or why it could not be encoded.
struct EncodedPicture
{
    QByteArray bytes;
    QString error;
};

EncodedPicture encodePng(const QImage& picture);

} // namespace tilemond::host
