#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The window system as the window utility sees it: top-level windows, the processes
// behind them and the few calls that change them. Every query of a window that no
// longer exists answers with an empty value; every call on one does nothing.

using WindowHandle = std::uint32_t;  // 0 is "no window"
using ProcessId = std::uint32_t;     // 0 is "unknown process"

// Extended-style bits the utility reads and writes.
constexpr std::uint32_t exStyleTopmost = 0x8;
constexpr std::uint32_t exStyleLayered = 0x80000;

// Class names the system reports for the desktop, the taskbar and a desk toolbar.
constexpr const char *desktopClassName = "Progman";
constexpr const char *taskbarClassName = "Shell_TrayWnd";
constexpr const char *toolbarClassName = "BaseBar";

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    // Right and bottom edges are outside the rectangle.
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A small icon as 32-bit ARGB pixels, row by row; empty when the window has none.
struct WindowIcon {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// The optional system functions, present or not on this system.
struct RuntimeFunctions {
    bool enumProcessModules = false;
    bool getModuleFileNameEx = false;
    bool setLayeredWindowAttributes = false;
    bool getLayeredWindowAttributes = false;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Version number: major in the low byte, minor in the next; bit 31 marks the 9x family.
    virtual std::uint32_t version() = 0;
    virtual RuntimeFunctions availableFunctions() = 0;

    // Calls visit for every top-level window, top of the Z order first, hidden ones
    // included; stops early when visit returns false.
    virtual void enumWindows(const std::function<bool(WindowHandle)> &visit) = 0;

    virtual std::string className(WindowHandle window) = 0;
    virtual std::string windowText(WindowHandle window) = 0;
    virtual bool isVisible(WindowHandle window) = 0;  // shown, minimised included
    virtual ProcessId processId(WindowHandle window) = 0;
    virtual WindowHandle owner(WindowHandle window) = 0;
    virtual std::uint32_t extendedStyle(WindowHandle window) = 0;
    // The alpha of a layered window; empty when the window is not layered.
    virtual std::optional<std::uint8_t> layeredAlpha(WindowHandle window) = 0;
    // The window's place on the screen, frame included; empty while it is not to be seen
    // there (hidden, minimised, on another desktop, gone).
    virtual std::optional<WindowRect> windowRect(WindowHandle window) = 0;
    virtual WindowIcon smallIcon(WindowHandle window) = 0;

    // Path of the process's executable (its first module); empty when the process
    // cannot be opened or read.
    virtual std::optional<std::string> processImagePath(ProcessId process) = 0;
    // Full paths of the modules of a process, in the order a module snapshot walks them.
    virtual std::vector<std::string> processModules(ProcessId process) = 0;

    virtual void showWindow(WindowHandle window) = 0;     // shows a hidden window
    virtual void hideWindow(WindowHandle window) = 0;
    // What showing the window after a hide gives back to it (the state and place the
    // system drops at the hide), as text for adoptShowState of another process on the same
    // display; read before the hide. Empty when there is nothing to give back.
    virtual std::string showState(WindowHandle window) = 0;
    // The next showWindow of this window gives back what the text names.
    virtual void adoptShowState(WindowHandle window, const std::string &state) = 0;
    virtual void restoreWindow(WindowHandle window) = 0;  // shows and de-minimises
    virtual void setTopmost(WindowHandle window, bool topmost) = 0;
    // Only the layered bit takes effect; clearing it makes the window opaque.
    virtual void setExtendedStyle(WindowHandle window, std::uint32_t style) = 0;
    virtual void setLayeredAlpha(WindowHandle window, std::uint8_t alpha) = 0;
    virtual void redrawWindow(WindowHandle window) = 0;
};
