#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace tilemond {

// Asks for a picture file with cdFileOpen and reads it. nullopt when the user cancels or picks no
// file, and when the file cannot be read as a picture: the user is then told which file and why.
// Nothing of the editor is touched.
std::optional<QImage> chooseAndReadPicture();

// Tells the user why a picture cannot be used, in a message titled "Tessora Tilemond".
void tellPictureRefused(const QString& why);

} // namespace tilemond
