#pragma once

namespace tilemond {

// True while a split runs. The split yields to the event loop between its steps, so clicks get
// through: the editor's buttons and the host's menu entry ignore them meanwhile, so that nothing
// starts a second split or closes the windows and surfaces under the running one.
bool splitRunning();

// Marks a split as running for its lifetime.
class SplitRunningScope
{
public:
    SplitRunningScope();
    ~SplitRunningScope();
    SplitRunningScope(const SplitRunningScope&) = delete;
    SplitRunningScope& operator=(const SplitRunningScope&) = delete;

private:
    bool m_wasRunning;
};

} // namespace tilemond
