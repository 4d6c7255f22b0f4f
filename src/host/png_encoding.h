#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tilemond::host {

// A picture as the bytes of a PNG file, or why it could not be encoded.
struct EncodedPicture
{
    QByteArray png;
    QString error;
};

EncodedPicture encodePng(const QImage& picture);

} // namespace tilemond::host
