#pragma once

#include <string>
#include <sys/types.h>

namespace tilemond {

// An X server of its own (Xvfb, on the first free display) with openbox managing it, for the
// length of a test program. Both are stopped when it goes.
class VirtualDesktop
{
public:
    VirtualDesktop();
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    // ":N", or empty when the desktop could not be started (error() says why).
    const std::string& display() const { return m_display; }
    const std::string& error() const { return m_error; }

private:
    bool startServer();
    bool startWindowManager();

    pid_t m_server = -1;
    pid_t m_windowManager = -1;
    std::string m_display;
    std::string m_error;
};

} // namespace tilemond
