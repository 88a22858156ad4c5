#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace xtest {

// A child process, ended (SIGTERM, then SIGKILL past a deadline) when this object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ChildProcess(ChildProcess &&other) noexcept : pid_(other.pid_), status_(other.status_) { other.pid_ = -1; }
    ChildProcess &operator=(ChildProcess &&other) noexcept;
    ~ChildProcess() { stop(); }

    pid_t pid() const { return pid_; }
    bool running();
    // Waits for the process to end by itself; false when it still runs at the deadline.
    bool waitForExit(std::chrono::milliseconds timeout);
    // How the process ended, as waitpid reports it; -1 while it has not been seen ending.
    int exitStatus() const { return status_; }
    void stop(std::chrono::milliseconds grace = std::chrono::seconds(5));

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Starts an X server of its own (Xvfb on a display it picks itself) and, unless told
// otherwise, the openbox window manager on it, and waits until the manager runs. Throws
// std::runtime_error with the reason when either cannot be started. Both end with the
// object.
class XServer {
public:
    struct Options {
        std::string screen = "1280x1024x24";
        bool windowManager = true;
        std::chrono::milliseconds startTimeout = std::chrono::seconds(20);
    };

    XServer();
    explicit XServer(const Options &options);
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // As in the DISPLAY variable, ":N".
    const std::string &display() const { return display_; }

private:
    void startXvfb(const Options &options);
    void startWindowManager(const Options &options);
    std::string logTail(const std::string &name) const;

    std::string folder_;  // logs and the manager's empty configuration home
    std::string display_;
    ChildProcess xvfb_;
    ChildProcess windowManager_;
};

// A descriptor of this process that the child gets as descriptor `to`.
struct Redirect {
    int from;
    int to;
};

// Starts a program (looked up on PATH unless the name holds a slash) with this process's
// environment plus the given "NAME=value" entries; it gets SIGTERM if this process dies.
// Throws std::runtime_error when it cannot be started.
ChildProcess spawnProgram(const std::vector<std::string> &arguments, const std::vector<std::string> &environment = {},
                          const std::vector<Redirect> &redirects = {});

} // namespace xtest
