#pragma once

#include "SystemFacts.h"
#include "WindowActions.h"
#include "WindowInventory.h"
#include "platform/fake/FakeDesktop.h"

#include <gtest/gtest.h>

// A fake desktop with the inventory and the actions over it.
class DesktopFixture : public ::testing::Test {
protected:
    FakeDesktop desktop;
    SystemFacts facts;
    WindowInventory inventory{desktop, facts};
    WindowActions actions{inventory};

    WindowHandle add(const std::string &title, const std::string &className = "App", WindowHandle owner = 0)
    {
        return desktop.addWindow(title, className, owner);
    }

    // A topmost, translucent window of the program /usr/bin/editor.
    WindowHandle addEditor(ProcessId process, std::uint8_t alpha)
    {
        FakeWindow w;
        w.title = "Editor";
        w.className = "EditorClass";
        w.process = process;
        w.exStyle = exStyleTopmost | exStyleLayered;
        w.alpha = alpha;
        desktop.processes[process].imagePath = "/usr/bin/editor";
        return desktop.addWindow(w);
    }

    // Reads the system facts as the program does at start, then builds the inventory.
    void build()
    {
        facts = readSystemFacts(desktop);
        inventory.buildInventory();
    }

    static std::vector<std::string> titles(const FixedTable<WindowEntry> &table)
    {
        std::vector<std::string> out;
        for (const WindowEntry &e : table)
            out.push_back(e.title);
        return out;
    }

    const WindowEntry &row(WindowHandle hwnd)
    {
        const int r = inventory.listedRow(hwnd);
        if (r < 0)
            throw std::runtime_error("window not listed");
        return inventory.listedWindows[std::uint32_t(r)];
    }

    std::uint32_t rowOf(WindowHandle hwnd) { return std::uint32_t(inventory.listedRow(hwnd)); }
};
