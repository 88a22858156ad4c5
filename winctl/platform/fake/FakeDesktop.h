#pragma once

#include "platform/WindowSystem.h"

#include <map>
#include <ostream>

// An in-memory desktop for tests: its windows, processes, version and optional
// functions are set up by the test; every call that changes a window is recorded.

struct FakeWindow {
    std::string className;
    std::string title;
    bool visible = true;
    bool minimised = false;
    ProcessId process = 0;
    WindowHandle owner = 0;
    std::uint32_t exStyle = 0;
    // Layered attributes, readable only while the layered bit is set and once they were set.
    std::optional<std::uint8_t> alpha;
    WindowRect rect;
    WindowIcon icon;
    // What a show gives back after a hide (as a maximised state); the test sets it.
    std::string showState;
};

struct FakeProcess {
    std::optional<std::string> imagePath;  // empty: the process cannot be opened
    std::vector<std::string> modules;
};

struct FakeCall {
    std::string name;
    WindowHandle window = 0;
    int argument = 0;

    bool operator==(const FakeCall &) const = default;
};
std::ostream &operator<<(std::ostream &out, const FakeCall &call);

class FakeDesktop : public WindowSystem {
public:
    static std::uint32_t versionNumber(int major, int minor, bool win9x = false);

    std::uint32_t systemVersion = versionNumber(5, 1);
    RuntimeFunctions functions{true, true, true, true};
    std::map<ProcessId, FakeProcess> processes;
    std::vector<FakeCall> calls;
    // Runs before every query of a window, so a test can make windows vanish between two calls.
    std::function<void(WindowHandle)> beforeQuery;

    // Adds a window below all existing ones and returns its handle.
    WindowHandle addWindow(FakeWindow window);
    // A visible window with this title and class, owned by owner when that is not 0.
    WindowHandle addWindow(const std::string &title, const std::string &className = "App", WindowHandle owner = 0);
    FakeWindow &window(WindowHandle handle) { return windows_.at(handle); }
    bool exists(WindowHandle handle) const { return windows_.count(handle) != 0; }
    void removeWindow(WindowHandle handle);

    std::uint32_t version() override { return systemVersion; }
    RuntimeFunctions availableFunctions() override { return functions; }
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
    const FakeWindow *query(WindowHandle handle);
    FakeWindow *change(const char *name, WindowHandle handle, int argument = 0);

    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<WindowHandle> zOrder_;  // top first
    WindowHandle nextHandle_ = 0x10010;
};
