#include "acquire/picture_choice.h"

#include "acquire/cd_file_open.h"
#include "editor/captions.h"
#include "pictures/picture_file.h"
#include "platform/prompts.h"

namespace tilemond {
namespace {

constexpr int Exclamation = 48;

} // namespace

std::optional<QImage> chooseAndReadPicture()
{
    const FileChoice choice = cdFileOpen().ShowOpen();
    if (choice.cancelled || choice.path.isEmpty())
        return std::nullopt;
    LoadedPicture loaded = loadPictureFile(choice.path);
    if (!loaded) {
        tellPictureRefused(loaded.error());
        return std::nullopt;
    }
    return std::move(loaded).value();
}

void tellPictureRefused(const QString& why)
{
    prompts().messageBox(QStringLiteral("This picture cannot be used:\n") + why, TilemondCaption,
                         MsgBox::OkOnly | Exclamation);
}

} // namespace tilemond
