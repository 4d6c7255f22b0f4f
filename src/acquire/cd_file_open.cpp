#include "acquire/cd_file_open.h"

namespace tilemond {

FileChoice FileOpenDialog::ShowOpen() const
{
    return prompts().openFile(DialogTitle, filterName, patterns);
}

const FileOpenDialog& cdFileOpen()
{
    // png and jpeg are read as well as the formats the editor has always named.
    static const FileOpenDialog dialog{
        QStringLiteral("Graphic File To Open..."),
        QStringLiteral("Graphic Formats"),
        {"*.bmp", "*.jpg", "*.gif", "*.wmf", "*.emf", "*.png", "*.jpeg"}};
    return dialog;
}

} // namespace tilemond
