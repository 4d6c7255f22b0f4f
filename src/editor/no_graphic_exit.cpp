#include "editor/no_graphic_exit.h"

#include "editor/captions.h"
#include "editor/editor_state.h"
#include "editor/topmost.h"
#include "platform/prompts.h"

namespace tilemond {

void NoGraphicExit()
{
    topmostBracket(false);
    prompts().messageBox("No Graphic Currently Loaded...Exiting", TilemondCaption,
                         MsgBox::Information | MsgBox::OkOnly);
    unloadFrmPreview();
    unloadFrmFilters();
}

} // namespace tilemond
