#include "virtual_desktop.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tilemond {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto StartLimit = std::chrono::seconds(20);

// Starts a program that ends with this one, however this one ends (a crash, a test timeout).
pid_t spawn(std::vector<std::string> arguments, int stdoutFd = -1)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(1);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(stdoutFd >= 0 ? stdoutFd : null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
}

void stop(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

// Whether the X server takes connections: it may announce its display a moment before.
bool serverAnswers()
{
    return std::system("xprop -root -len 1 _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1") == 0;
}

// The root window names a window manager once one runs.
bool windowManagerRuns()
{
    FILE* out = popen("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null", "r");
    if (!out)
        return false;
    char line[256] = {};
    const bool named = std::fgets(line, sizeof line, out) &&
                       std::string(line).find("window id") != std::string::npos;
    pclose(out);
    return named;
}

} // namespace

VirtualDesktop::VirtualDesktop()
{
    if (startServer())
        startWindowManager();
}

VirtualDesktop::~VirtualDesktop()
{
    stop(m_windowManager);
    stop(m_server);
}

// Xvfb picks a free display itself and writes its number once it takes connections.
bool VirtualDesktop::startServer()
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        m_error = "no pipe for Xvfb";
        return false;
    }
    m_server =
        spawn({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
              pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    pollfd wait{pipeFds[0], POLLIN, 0};
    const auto limit = Clock::now() + StartLimit;
    while (m_server > 0 && number.find('\n') == std::string::npos && Clock::now() < limit) {
        if (poll(&wait, 1, 1000) <= 0)
            continue;
        char chunk[16];
        const ssize_t got = read(pipeFds[0], chunk, sizeof chunk);
        if (got <= 0)
            break;
        number.append(chunk, std::size_t(got));
    }
    close(pipeFds[0]);
    if (number.find('\n') == std::string::npos) {
        m_error = "Xvfb did not start (is it installed?)";
        return false;
    }
    m_display = ":" + number.substr(0, number.find('\n'));
    setenv("DISPLAY", m_display.c_str(), 1);
    return true;
}

bool VirtualDesktop::startWindowManager()
{
    const auto limit = Clock::now() + StartLimit;
    const auto lookAgain = [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
    while (!serverAnswers()) {
        if (Clock::now() > limit) {
            m_error = "Xvfb on " + m_display + " takes no connection";
            m_display.clear();
            return false;
        }
        lookAgain();
    }
    // Now and then openbox gives up on a display that has only just come up (more often on a
    // loaded machine): it is started again then, a little later each time.
    for (int attempt = 0; attempt < 6; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200 * attempt));
        m_windowManager = spawn({"openbox"});
        while (m_windowManager > 0 && !windowManagerRuns() && Clock::now() < limit &&
               waitpid(m_windowManager, nullptr, WNOHANG) == 0)
            lookAgain();
        if (m_windowManager > 0 && windowManagerRuns())
            return true;
        stop(m_windowManager);
    }
    m_error = "openbox did not start (is it installed?)";
    m_display.clear();
    return false;
}

} // namespace tilemond
