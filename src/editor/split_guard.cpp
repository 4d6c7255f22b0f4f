#include "editor/split_guard.h"

#include <QCoreApplication>
#include <QEvent>

namespace tilemond {
namespace {

bool g_splitRunning = false;

// Swallows the user's input to every object of the application.
class UserInputHold final : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->isInputEvent() || event->type() == QEvent::Shortcut ||
               event->type() == QEvent::Close;
    }
};

} // namespace

bool splitRunning()
{
    return g_splitRunning;
}

SplitRunningScope::SplitRunningScope() : m_wasRunning(g_splitRunning)
{
    g_splitRunning = true;
    if (!m_wasRunning && QCoreApplication::instance()) {
        m_userInputHold = std::make_unique<UserInputHold>();
        QCoreApplication::instance()->installEventFilter(m_userInputHold.get());
    }
}

SplitRunningScope::~SplitRunningScope()
{
    g_splitRunning = m_wasRunning;
}

} // namespace tilemond
