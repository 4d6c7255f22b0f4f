#pragma once

#include <memory>

class QObject;

namespace tilemond {

// True while a split runs. The split yields to the event loop between its steps; the editor's
// buttons and the host's menu entry do nothing meanwhile, so that nothing starts a second split
// or closes the windows and surfaces under the running one.
bool splitRunning();

// Marks a split as running for its lifetime. What the user does meanwhile (clicks, keys, a
// window's close button) is dropped, in the host's windows as much as in the editor's: run in
// the middle of the split, it could paste into the page under it, or open, save or close the
// page half cut. Painting and timers go on.
class SplitRunningScope
{
public:
    SplitRunningScope();
    ~SplitRunningScope();
    SplitRunningScope(const SplitRunningScope&) = delete;
    SplitRunningScope& operator=(const SplitRunningScope&) = delete;

private:
    bool m_wasRunning;
    std::unique_ptr<QObject> m_userInputHold;
};

} // namespace tilemond
