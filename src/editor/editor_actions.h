#pragma once

#include <functional>

namespace tilemond {

// What the editor window's buttons do beyond the editor itself: picture taking, the split,
// the About box, help, the colour choice and Cancel come from the parts built on the editor,
// which install them here. An empty action does nothing.
struct EditorActions
{
    std::function<void()> loadSelectedImage;   // editor load: the picture selected in the page
    std::function<void()> split;               // Command4
    std::function<void()> useNewImageFromFile; // Command8
    std::function<void()> about;               // Command9
    std::function<void()> help;                // btHelp
    std::function<void()> chooseColour;        // Command3
    std::function<void()> cancel;              // Command6
};

EditorActions& editorActions();

// Runs the action if one is installed; clicks that arrive while a split runs are ignored.
void runAction(const std::function<void()>& action);

} // namespace tilemond
