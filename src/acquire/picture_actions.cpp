#include "acquire/picture_actions.h"

#include "acquire/command8.h"
#include "acquire/load_selected_image.h"
#include "editor/editor_actions.h"

namespace tilemond {

void installPictureActions()
{
    EditorActions& actions = editorActions();
    actions.loadSelectedImage = LoadSelectedImage;
    actions.useNewImageFromFile = Command8_Click;
}

} // namespace tilemond
