#include "editor/editor_actions.h"

#include "editor/split_guard.h"

namespace tilemond {

EditorActions& editorActions()
{
    static EditorActions actions;
    return actions;
}

void runAction(const std::function<void()>& action)
{
    // Clicks that arrive while a split yields are ignored.
    if (splitRunning())
        return;
    // A copy, so that an action may replace the installed actions while it runs.
    if (const std::function<void()> run = action)
        run();
}

} // namespace tilemond
