#pragma once

#include <QImage>
#include <QString>

namespace tilemond {

// A picture read from a file: the image (Format_RGB32, or ARGB32_Premultiplied where the file
// has transparency; metafiles on white), or an error that names the file and says why.
struct LoadedPicture
{
    QImage image;
    QString error; // empty when the picture was read
};

// Reads bmp, jpg, gif (its first frame), png, wmf and emf; the content decides the format,
// not the extension. Never throws.
LoadedPicture loadPictureFile(const QString& path);

} // namespace tilemond
