#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace xtest {

// A top-level window for a test; the properties a window manager and other programs read.
struct WindowSpec {
    std::string instance = "xtest";
    std::string className = "XTest";
    std::string title;
    bool ewmhName = true;  // false: the title goes into WM_NAME only
    std::optional<std::uint32_t> pid;
    xcb_window_t transientFor = XCB_NONE;
    xcb_window_t clientLeader = XCB_NONE;  // WM_CLIENT_LEADER, the window's group
    std::string windowType;           // an atom name such as "_NET_WM_WINDOW_TYPE_DOCK"
    std::vector<std::string> states;  // _NET_WM_STATE atoms set before mapping
    std::optional<std::uint32_t> opacity;
    int x = 10, y = 10, width = 200, height = 150;
    bool map = true;
    xcb_window_t id = XCB_NONE;  // an id of this connection's to use again, once its window is gone
};

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A connection to a test display: opens windows and reads what the X server holds, and
// waits for changes with deadlines.
class XClient {
public:
    explicit XClient(const std::string &display);
    ~XClient();
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;

    xcb_connection_t *connection() const { return c_; }
    xcb_window_t root() const { return root_; }
    xcb_atom_t atom(const std::string &name);

    // Creates the window and, when it is to be mapped, waits until it is mapped and, with a
    // window manager running, managed. Throws std::runtime_error past the deadline.
    xcb_window_t openWindow(const WindowSpec &windowSpec, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    void destroyWindow(xcb_window_t window);
    // Sends the window manager a client message about the window, as its program or a
    // pager does, such as "WM_CHANGE_STATE" {3} to minimise it or "_NET_WM_DESKTOP" {1, 2}.
    void askManager(xcb_window_t window, const std::string &type, const std::vector<std::uint32_t> &data);
    // Selects the property and structure events of another program's window, so that
    // waitUntil wakes when it changes.
    void watch(xcb_window_t window);

    // The items of a 32-bit property; empty when it is absent.
    std::vector<std::uint32_t> property32(xcb_window_t window, const std::string &name);
    std::optional<std::uint32_t> cardinal(xcb_window_t window, const std::string &name);
    std::string text(xcb_window_t window, const std::string &name);
    std::uint32_t wmState(xcb_window_t window);  // 0 withdrawn (or none), 1 normal, 3 iconic
    bool hasState(xcb_window_t window, const std::string &stateName);
    std::vector<xcb_window_t> clientList();  // the manager's _NET_CLIENT_LIST_STACKING, bottom first
    std::vector<xcb_window_t> children(xcb_window_t window);  // bottom first
    // Every window below this one, at any depth, each before its own children.
    std::vector<xcb_window_t> descendants(xcb_window_t window);
    // The window's place on the screen; empty when it is gone.
    std::optional<ScreenRect> screenRect(xcb_window_t window);
    // The instance and class parts of WM_CLASS.
    std::pair<std::string, std::string> wmClass(xcb_window_t window);
    // The owner of a selection such as "_NET_SYSTEM_TRAY_S0"; XCB_NONE when it has none.
    xcb_window_t selectionOwner(const std::string &selection);
    bool managed(xcb_window_t window);
    bool viewable(xcb_window_t window);
    // The running EWMH window manager's name; empty when none runs.
    std::optional<std::string> windowManagerName();
    bool supports(const std::string &atomName);  // listed in the manager's _NET_SUPPORTED

    // True as soon as condition holds, re-checked whenever the server sends this connection
    // an event (and at least every 50 ms); false when the deadline passes first.
    bool waitUntil(const std::function<bool()> &condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    void drainEvents();

    xcb_connection_t *c_ = nullptr;
    xcb_window_t root_ = 0;
    std::map<std::string, xcb_atom_t> atoms_;
    std::set<xcb_window_t> mapNotified_;
};

} // namespace xtest
