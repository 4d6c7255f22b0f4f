#pragma once

namespace tilemond {

// The editor's Okay button: cuts the editor's picture along the cut markers into a grid of
// pieces and puts them, row by row, into the page at its selection (a borderless table when
// "Cut Image Into Table Cells." is checked, else lines of pieces); then closes both windows.
// With no picture loaded it refuses and closes both windows.
void Command4_Click();

} // namespace tilemond
