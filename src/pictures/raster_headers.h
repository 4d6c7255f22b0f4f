#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace tilemond {

struct AnnouncedSize
{
    qint64 width = 0;
    qint64 height = 0;
};

// The size that a bmp, png or gif header announces, read straight from the bytes, so that an
// oversize picture is refused even where Qt's reader would give up on its header; nothing for
// other formats or a header too short to hold it.
std::optional<AnnouncedSize> announcedSize(const QByteArray& data, const QByteArray& format);

// Whether the file holds all the data of its (first) picture. Qt's readers fill a cut-off
// bmp, gif or jpeg with a default colour and report success, which would pass a broken file
// off as a picture; a png chunk whose length runs past the end has libpng reserve that length.
bool pictureDataComplete(const QByteArray& data, const QByteArray& format);

} // namespace tilemond
