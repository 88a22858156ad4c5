#pragma once

#include "SystemFacts.h"
#include "WindowEntry.h"

#include <functional>

// The desktop's top-level windows as the list, the tray menu and the picker show them,
// rebuilt from scratch on every refresh.
class WindowInventory {
public:
    WindowInventory(WindowSystem &system, const SystemFacts &facts);

    // Owned windows are folded into their owner's row.
    bool groupChildWindows = true;

    FixedTable<WindowEntry> listedWindows;  // the rows, top of the Z order first
    FixedTable<WindowEntry> allWindows;     // grouping only: every visible window but the desktop
    FixedTable<WindowHandle> ownedWindows;  // grouping only: windows folded into their owner

    // Mode 1 of the enumeration hands every top-level window to this check, which looks
    // for a copy of the program already running.
    std::function<void(WindowHandle, const std::string &className, const std::string &title)> previousCopyCheck;

    void buildInventory();
    // Enumerates every top-level window with collectWindow in the given mode.
    void enumerateWindows(int mode);
    // Always true: the enumeration never stops early.
    bool collectWindow(WindowHandle hwnd, int mode);
    int getWindowOpacity(WindowHandle hwnd);  // alpha 0..255
    bool isWindowTopmost(WindowHandle hwnd);

    // Position of the window among the listed rows, or -1.
    int listedRow(WindowHandle hwnd) const;

    WindowSystem &system() { return system_; }
    const SystemFacts &facts() const { return facts_; }

private:
    void collectForInventory(WindowHandle hwnd);
    std::string executableFileName(ProcessId process);
    void mergeOwnedStates();

    WindowSystem &system_;
    const SystemFacts &facts_;
    WindowEntry entry_;  // filled for each window, then copied into the tables
};
