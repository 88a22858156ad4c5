#pragma once

#include "platform/WindowSystem.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>

// The window system of an X11 desktop with an EWMH window manager.
//
// Windows are the client windows the manager lists, top of the stacking order first,
// followed by unmanaged top-level windows that carry a WM_CLASS (withdrawn or never
// shown); a window is visible while the manager lists it.
// The properties of every window seen are read once, in pipelined requests, and then
// followed through PropertyNotify events: an enumeration asks the server only for the
// stacking order and the top-level windows, and re-reads just the windows that changed.
// Between enumerations the queries answer as of the last one, except about windows
// changed here, which are read again. Errors about vanished windows are dropped.
class X11WindowSystem : public WindowSystem {
public:
    // Connects to the named display, or to $DISPLAY when null; throws std::runtime_error
    // when that fails.
    explicit X11WindowSystem(const char *displayName = nullptr);
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem &) = delete;
    X11WindowSystem &operator=(const X11WindowSystem &) = delete;

    // The connection's descriptor: when it becomes readable, processEvents() takes in what
    // the server sent, so that nothing piles up while no enumeration runs.
    int fileDescriptor() const;
    void processEvents();

    std::uint32_t version() override;
    RuntimeFunctions availableFunctions() override;
    void enumWindows(const std::function<bool(WindowHandle)> &visit) override;

    std::string className(WindowHandle window) override;
    std::string windowText(WindowHandle window) override;
    bool isVisible(WindowHandle window) override;
    ProcessId processId(WindowHandle window) override;
    WindowHandle owner(WindowHandle window) override;
    std::uint32_t extendedStyle(WindowHandle window) override;
    std::optional<std::uint8_t> layeredAlpha(WindowHandle window) override;
    std::optional<WindowRect> windowRect(WindowHandle window) override;
    WindowIcon smallIcon(WindowHandle window) override;
    std::optional<std::string> processImagePath(ProcessId process) override;
    std::vector<std::string> processModules(ProcessId process) override;

    void showWindow(WindowHandle window) override;
    void hideWindow(WindowHandle window) override;
    void restoreWindow(WindowHandle window) override;
    void setTopmost(WindowHandle window, bool topmost) override;
    void setExtendedStyle(WindowHandle window, std::uint32_t style) override;
    void setLayeredAlpha(WindowHandle window, std::uint8_t alpha) override;
    void redrawWindow(WindowHandle window) override;

private:
    struct Connection;
    enum class Kind { Normal, Desktop, Dock };
    struct WindowInfo {
        bool exists = false;
        bool hasClass = false;  // WM_CLASS is set, perhaps to empty names
        std::string className;
        std::string title;
        ProcessId process = 0;
        WindowHandle owner = 0;
        bool above = false;
        std::optional<std::uint32_t> opacity;
        Kind kind = Kind::Normal;
    };

    const WindowInfo &info(WindowHandle window);
    void readClientList();
    void fetch(const std::vector<WindowHandle> &windows);
    void changed(WindowHandle window);

    std::unique_ptr<Connection> x_;
    std::unordered_map<WindowHandle, WindowInfo> known_;  // kept up to date by events
    std::unordered_set<WindowHandle> managed_;
    bool clientListRead_ = false;
    std::unordered_map<ProcessId, std::optional<std::string>> executables_;  // for one enumeration
};
