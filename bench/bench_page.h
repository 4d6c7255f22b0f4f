#pragma once

#include <QFile>
#include <QImage>
#include <QString>
#include <string>

namespace tilemond::bench {

inline const std::string SplitPicture = "<img src=\"picture.png\">";

// A page of about `bytes` bytes of ordinary paragraphs with the picture to split in the middle.
inline std::string pageOfSize(size_t bytes)
{
    std::string filler;
    for (int n = 0; filler.size() < bytes / 2; ++n)
        filler += "<p class=\"text\">Paragraph " + std::to_string(n) +
                  " with <b>some</b> text and <a href=\"page.html\">a link</a>.</p>\r\n";
    return "<!DOCTYPE html>\r\n<html><head><title>Bench</title></head><body>\r\n" + filler +
           SplitPicture + "\r\n" + filler + "</body></html>\r\n";
}

inline bool writeFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// A picture whose pixels differ from their neighbours, so that no piece is trivial.
inline QImage benchPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 13) % 256));
    return picture;
}

} // namespace tilemond::bench
