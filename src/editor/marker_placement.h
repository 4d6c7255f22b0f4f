#pragma once

namespace tilemond {

// The editor's four marker buttons. Markers of a kind behave as a stack: adding pushes a marker
// at the preview's centre line in the swatch colour, removing pops the most recent one. With no
// picture loaded each button refuses (NoGraphicExit) and does nothing else.
void addVerticalMarker();      // Command1
void addHorizontalMarker();    // Command2
void removeVerticalMarker();   // Command7
void removeHorizontalMarker(); // Command5

} // namespace tilemond
