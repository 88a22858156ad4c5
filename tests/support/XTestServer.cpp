#include "XTestServer.h"

#include "XTestClient.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char **environ;

namespace xtest {

namespace {

using namespace std::chrono;

// Waits for the process to end, reaping it; false when it still runs at the deadline.
bool waitForProcess(pid_t pid, milliseconds timeout, int *status = nullptr)
{
    const int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd p{pidfd, POLLIN, 0};
        ::poll(&p, 1, int(timeout.count()));
        ::close(pidfd);
        return ::waitpid(pid, status, WNOHANG) == pid;
    }
    // Without process descriptors (old kernels, valgrind) the process is looked at in turns.
    const auto deadline = steady_clock::now() + timeout;
    do {
        if (::waitpid(pid, status, WNOHANG) == pid)
            return true;
        ::poll(nullptr, 0, 10);
    } while (steady_clock::now() < deadline);
    return false;
}

std::string variableName(const std::string &entry)
{
    return entry.substr(0, entry.find('='));
}

} // namespace

ChildProcess &ChildProcess::operator=(ChildProcess &&other) noexcept
{
    if (this != &other) {
        stop();
        pid_ = other.pid_;
        status_ = other.status_;
        other.pid_ = -1;
    }
    return *this;
}

bool ChildProcess::running()
{
    if (pid_ <= 0)
        return false;
    if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

bool ChildProcess::waitForExit(milliseconds timeout)
{
    if (pid_ <= 0)
        return true;
    if (!waitForProcess(pid_, timeout, &status_))
        return false;
    pid_ = -1;
    return true;
}

void ChildProcess::stop(milliseconds grace)
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    if (!waitForProcess(pid_, grace, &status_)) {
        ::kill(pid_, SIGKILL);
        waitForProcess(pid_, grace, &status_);
    }
    pid_ = -1;
}

ChildProcess spawnProgram(const std::vector<std::string> &arguments, const std::vector<std::string> &environment,
                          const std::vector<Redirect> &redirects)
{
    std::vector<std::string> variables = environment;
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string &given : environment)
            replaced = replaced || variableName(given) == variableName(entry);
        if (!replaced)
            variables.push_back(entry);
    }
    std::vector<char *> argv, envp;
    for (const std::string &a : arguments)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string &v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    // The child reports a failed exec through this pipe, which closes on a good one.
    int status[2];
    if (::pipe2(status, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Ends with the test process, even when that one crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        for (const Redirect &r : redirects)
            ::dup2(r.from, r.to);
        ::execvpe(argv[0], argv.data(), envp.data());
        const int error = errno;
        [[maybe_unused]] ssize_t written = ::write(status[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(status[1]);
    int error = pid < 0 ? errno : 0;
    if (pid > 0 && ::read(status[0], &error, sizeof error) == sizeof error)
        ::waitpid(pid, nullptr, 0);
    ::close(status[0]);
    if (pid < 0 || error != 0)
        throw std::runtime_error("cannot start " + arguments[0] + ": " + std::strerror(error));
    return ChildProcess(pid);
}

XServer::XServer() : XServer(Options()) {}

XServer::XServer(const Options &options)
{
    char folder[] = "/tmp/xtest-XXXXXX";
    if (!::mkdtemp(folder))
        throw std::runtime_error(std::string("cannot make a temporary folder: ") + std::strerror(errno));
    folder_ = folder;
    try {
        startXvfb(options);
        if (options.windowManager)
            startWindowManager(options);
    } catch (...) {
        windowManager_.stop();
        xvfb_.stop();
        std::filesystem::remove_all(folder_);
        throw;
    }
}

XServer::~XServer()
{
    windowManager_.stop();
    xvfb_.stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string XServer::logTail(const std::string &name) const
{
    std::ifstream in(folder_ + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

void XServer::startXvfb(const Options &options)
{
    // Xvfb picks a free display and writes its number to the descriptor it is given.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    const int log = ::open((folder_ + "/xvfb.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    try {
        xvfb_ = spawnProgram({"Xvfb", "-displayfd", "3", "-screen", "0", options.screen, "-nolisten", "tcp"}, {},
                             {{fds[1], 3}, {log, 1}, {log, 2}});
    } catch (...) {
        ::close(fds[0]);
        ::close(fds[1]);
        ::close(log);
        throw;
    }
    ::close(fds[1]);
    ::close(log);

    std::string number;
    const auto deadline = steady_clock::now() + options.startTimeout;
    char c = 0;
    while (number.empty() || number.back() != '\n') {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        pollfd p{fds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0 || ::read(fds[0], &c, 1) != 1) {
            ::close(fds[0]);
            throw std::runtime_error("Xvfb did not report its display: " + logTail("xvfb.log"));
        }
        number += c;
    }
    ::close(fds[0]);
    number.pop_back();
    display_ = ":" + number;
}

void XServer::startWindowManager(const Options &options)
{
    // An empty configuration home, so a user's own settings never change the manager.
    const std::string home = folder_ + "/config";
    std::filesystem::create_directory(home);
    const int log = ::open((folder_ + "/openbox.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    try {
        windowManager_ = spawnProgram({"openbox", "--sm-disable"},
                                      {"DISPLAY=" + display_, "XDG_CONFIG_HOME=" + home, "XDG_CACHE_HOME=" + home},
                                      {{log, 1}, {log, 2}});
    } catch (...) {
        ::close(log);
        throw;
    }
    ::close(log);

    XClient client(display_);
    const auto deadline = steady_clock::now() + options.startTimeout;
    auto left = [&] { return duration_cast<milliseconds>(deadline - steady_clock::now()); };
    const bool announced = client.waitUntil(
        [&] { return client.windowManagerName().has_value() || !windowManager_.running(); }, left());
    if (!announced || !windowManager_.running())
        throw std::runtime_error("openbox did not start: " + logTail("openbox.log"));

    // The manager announces itself before it takes windows on, and a window mapped in
    // between stays unmanaged; so a probe window is mapped until the manager takes it.
    WindowSpec probe;
    probe.title = "xtest probe";
    probe.map = false;
    const xcb_window_t window = client.openWindow(probe);
    bool managed = false;
    while (!managed && left().count() > 0) {
        xcb_map_window(client.connection(), window);
        xcb_flush(client.connection());
        managed = client.waitUntil([&] { return client.managed(window); },
                                   std::min(left(), milliseconds(500)));
    }
    client.destroyWindow(window);
    if (!managed || !client.waitUntil([&] { return !client.managed(window); }, std::max(left(), milliseconds(0))))
        throw std::runtime_error("openbox does not manage windows: " + logTail("openbox.log"));
}

} // namespace xtest
