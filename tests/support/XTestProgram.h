#pragma once

#include "XTestServer.h"

#include <xcb/xcb.h>

#include <string>

namespace xtest {

// Another program with a window: a child process of its own executable that opens one
// window, with its own process id in _NET_WM_PID, and keeps it until this object ends.
class XProgram {
public:
    XProgram(const std::string &display, const std::string &className, const std::string &title,
             xcb_window_t transientFor = XCB_NONE);
    ~XProgram();
    XProgram(const XProgram &) = delete;
    XProgram &operator=(const XProgram &) = delete;

    xcb_window_t window() const { return window_; }
    pid_t pid() const { return process_.pid(); }
    // The executable the window's process runs.
    static std::string executable();

private:
    ChildProcess process_;
    int input_ = -1;  // closing it ends the program
    xcb_window_t window_ = XCB_NONE;
};

} // namespace xtest
