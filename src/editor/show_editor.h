#pragma once

namespace tilemond {

// Shows the editor window frmFilters, building it first when it does not exist. A window runs
// its load the first time it is shown here, and only then: showing an open editor again
// brings the same window forward.
void showFrmFilters();

} // namespace tilemond
