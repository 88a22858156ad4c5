#pragma once

#include "platform/WindowSystem.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>

struct xcb_get_property_reply_t;

// The window system of an X11 desktop with an EWMH window manager.
//
// Windows are the client windows the manager lists, top of the stacking order first,
// followed by unmanaged top-level windows that carry a WM_CLASS (withdrawn or never
// shown); a window is visible while the manager lists it.
// The properties of every window seen are read once, in pipelined requests, and then
// followed through PropertyNotify events: an enumeration asks the server only for the
// stacking order and the top-level windows, and re-reads just the windows that changed.
// Between enumerations the queries answer as of the last one, except about windows
// changed here, which are read again, and destroyed ones, which are forgotten. Errors
// about vanished windows are dropped.
//
// Titles are read as their property's type says (STRING, COMPOUND_TEXT, UTF8_STRING).
// A client whose WM_CLIENT_MACHINE names another host has no process here (process 0,
// so no executable); one that names no host is taken for a local one.
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
    // Waits until the server has carried out every request sent so far.
    void sync();
    // The display as DISPLAY names it, without the screen: ":0", "host:10".
    const std::string &displayName() const { return displayName_; }
    // A mark of this run of the X server, the same for every client until the server
    // starts anew: kept on the root window, and made there by the first that asks.
    std::string serverMark();

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
    std::string showState(WindowHandle window) override;
    void adoptShowState(WindowHandle window, const std::string &state) override;
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

    // What a hidden window had before the manager let go of it.
    struct WithdrawnState {
        std::vector<std::uint32_t> states;  // _NET_WM_STATE atoms
        std::optional<std::uint32_t> desktop;
    };

    std::optional<WithdrawnState> readShownState(WindowHandle window);
    const WindowInfo &info(WindowHandle window);
    std::string text(const xcb_get_property_reply_t *reply) const;
    bool isThisHost(const xcb_get_property_reply_t *clientMachine) const;
    void readClientList();
    void fetch(const std::vector<WindowHandle> &windows);
    void changed(WindowHandle window);

    std::unique_ptr<Connection> x_;
    std::unordered_map<WindowHandle, WindowInfo> known_;  // kept up to date by events
    std::unordered_set<WindowHandle> managed_;
    bool clientListRead_ = false;
    std::unordered_map<ProcessId, std::optional<std::string>> executables_;  // for one enumeration
    std::unordered_map<WindowHandle, WithdrawnState> withdrawnStates_;  // windows hidden here
    std::string hostName_;
    std::string displayName_;
};
