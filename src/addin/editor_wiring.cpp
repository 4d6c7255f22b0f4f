#include "addin/editor_wiring.h"

#include "about/gen_about.h"
#include "acquire/picture_actions.h"
#include "addin/help_document.h"
#include "editor/editor_actions.h"
#include "editor/editor_commands.h"
#include "editor/editor_state.h"
#include "editor/frm_filters.h"
#include "editor/topmost.h"
#include "slicing/split_command.h"

namespace tilemond {
namespace {

void showAbout()
{
    topmostBracket(false);
    showGenAbout(&frmFilters());
    topmostBracket(true);
}

} // namespace

void installEditorActions()
{
    installPictureActions();
    EditorActions& actions = editorActions();
    actions.split = Command4_Click;
    actions.about = showAbout;
    actions.help = showHelp;
    actions.chooseColour = chooseMarkerColour;
    actions.cancel = cancelEditing;
}

} // namespace tilemond
