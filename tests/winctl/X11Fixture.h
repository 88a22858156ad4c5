#pragma once

// The X11 backend with the window rules over it, on the test binary's X desktop.
#include "SystemFacts.h"
#include "WindowActions.h"
#include "WindowInventory.h"
#include "platform/x11/X11WindowSystem.h"

#include "XTestClient.h"
#include "XTestMain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

class X11Test : public ::testing::Test {
protected:
    xtest::XClient client{xtest::testServer().display()};
    X11WindowSystem system{xtest::testServer().display().c_str()};
    SystemFacts facts = readSystemFacts(system);
    WindowInventory inventory{system, facts};
    WindowActions actions{inventory};
    std::vector<xcb_window_t> opened;

    void TearDown() override
    {
        for (xcb_window_t w : opened)
            client.destroyWindow(w);
        EXPECT_TRUE(client.waitUntil([&] {
            return std::none_of(opened.begin(), opened.end(), [&](xcb_window_t w) { return client.managed(w); });
        }));
    }

    xcb_window_t open(const std::string &title, xtest::WindowSpec windowSpec = {})
    {
        windowSpec.title = title;
        const xcb_window_t w = client.openWindow(windowSpec);
        opened.push_back(w);
        return w;
    }

    const WindowEntry *row(xcb_window_t w)
    {
        const int r = inventory.listedRow(w);
        return r < 0 ? nullptr : &inventory.listedWindows[std::uint32_t(r)];
    }

    std::uint32_t rowOf(xcb_window_t w)
    {
        const int r = inventory.listedRow(w);
        if (r < 0)
            throw std::runtime_error("window not listed");
        return std::uint32_t(r);
    }

    bool shown(xcb_window_t w) { return client.managed(w) && client.wmState(w) == 1 && client.viewable(w); }
    bool withdrawn(xcb_window_t w) { return !client.managed(w) && client.wmState(w) != 1 && !client.viewable(w); }

    void requireSupport(const std::string &atom)
    {
        if (!client.supports(atom))
            GTEST_SKIP() << "the window manager does not support " << atom;
    }
};
