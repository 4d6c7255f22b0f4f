#include "editor/split_guard.h"

namespace tilemond {
namespace {

bool g_splitRunning = false;

} // namespace

bool splitRunning()
{
    return g_splitRunning;
}

SplitRunningScope::SplitRunningScope() : m_wasRunning(g_splitRunning)
{
    g_splitRunning = true;
}

SplitRunningScope::~SplitRunningScope()
{
    g_splitRunning = m_wasRunning;
}

} // namespace tilemond
