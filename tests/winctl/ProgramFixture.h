#pragma once

// The program on a real X desktop (Xvfb, openbox, and trayer as the tray): started as
// its users start it and driven with xdotool, or its dialog run in the test's own
// process over the same X11 backend; every effect is checked through the X server's own
// properties.
#include "StoreFixture.h"

#include "CMainDialog.h"
#include "SystemFacts.h"
#include "WindowInventory.h"
#include "platform/ModalDialogs.h"
#include "platform/RegistryStore.h"
#include "platform/x11/X11WindowSystem.h"
#include "shell/Settings.h"

#include "XTestClient.h"
#include "XTestMain.h"
#include "XTestProgram.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <sys/wait.h>

#include <algorithm>
#include <memory>

using namespace std::chrono_literals;
using xtest::ChildProcess;
using xtest::XClient;

inline const std::string program = PANEKEEPER_PROGRAM;
inline const std::string dialogTitle = "Kesto@PaneKeeper";

inline std::string display()
{
    return xtest::testServer().display();
}

// Runs a tool to its end, on the test's display unless told another; its exit code, or a
// failure past the deadline.
inline int run(const std::vector<std::string> &arguments, const std::string &on = display())
{
    ChildProcess tool = xtest::spawnProgram(arguments, {"DISPLAY=" + on});
    if (!tool.waitForExit(20s))
        throw std::runtime_error(arguments[0] + " did not end in time");
    return WIFEXITED(tool.exitStatus()) ? WEXITSTATUS(tool.exitStatus()) : -1;
}

class ProgramTest : public StoreFixture {
protected:
    static inline std::unique_ptr<ChildProcess> trayHost;
    XClient client{display()};
    std::vector<std::unique_ptr<xtest::XProgram>> programs;

    static void SetUpTestSuite()
    {
        trayHost = std::make_unique<ChildProcess>(
            xtest::spawnProgram({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                 "--width", "120", "--height", "24"},
                                {"DISPLAY=" + display()}));
    }
    static void TearDownTestSuite() { trayHost.reset(); }

    void SetUp() override
    {
        StoreFixture::SetUp();
        ASSERT_TRUE(client.waitUntil([&] { return client.selectionOwner("_NET_SYSTEM_TRAY_S0") != XCB_NONE; }))
            << "trayer offers no tray";

    }

    // The program as a user starts it, in the test's settings folders, with the X tray
    // (on the test's display unless told another); environment holds further "NAME=value"
    // entries, redirects descriptors it is to get.
    ChildProcess start(const std::vector<std::string> &arguments = {}, std::vector<std::string> environment = {},
                       const std::string &on = display(), const std::vector<xtest::Redirect> &redirects = {})
    {
        std::vector<std::string> command{program};
        command.insert(command.end(), arguments.begin(), arguments.end());
        environment.insert(environment.end(), {"DISPLAY=" + on, "QT_QPA_PLATFORM=xcb",
                                               "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent"});
        return xtest::spawnProgram(command, environment, redirects);
    }

    xcb_window_t openProgramWindow(const std::string &title)
    {
        programs.push_back(std::make_unique<xtest::XProgram>(display(), "TestApp", title));
        client.watch(programs.back()->window());
        return programs.back()->window();
    }

    // The program's windows, found by their class, on the test's display or another.
    std::vector<xcb_window_t> ownWindows(bool viewableOnly = true) { return ownWindowsOn(client, viewableOnly); }
    static std::vector<xcb_window_t> ownWindowsOn(XClient &on, bool viewableOnly = true)
    {
        std::vector<xcb_window_t> out;
        for (xcb_window_t w : on.descendants(on.root())) {
            if (on.wmClass(w).first == "panekeeper" && (!viewableOnly || on.viewable(w)))
                out.push_back(w);
        }
        return out;
    }
    xcb_window_t dialog() { return dialogOn(client); }
    static xcb_window_t dialogOn(XClient &on)
    {
        for (xcb_window_t w : ownWindowsOn(on, false)) {
            if (on.wmClass(w).second == "#32770" && on.text(w, "_NET_WM_NAME") == dialogTitle)
                return w;
        }
        return XCB_NONE;
    }
    // The tray icon is the program's window that the tray holds: trayer's panel (class
    // "trayer") wherever the manager put it, or its main window (class "Trayer").
    xcb_window_t trayIcon()
    {
        for (xcb_window_t tray : client.descendants(client.root())) {
            const std::string trayClass = client.wmClass(tray).second;
            if (trayClass != "trayer" && trayClass != "Trayer")
                continue;
            for (xcb_window_t w : client.descendants(tray)) {
                if (client.wmClass(w).first == "panekeeper" && client.viewable(w))
                    return w;
            }
        }
        return XCB_NONE;
    }
    // Open popup menus and other new windows of the program, shown on their own.
    std::size_t shownOwnTopLevels()
    {
        const std::vector<xcb_window_t> top = client.children(client.root());
        std::size_t count = 0;
        for (xcb_window_t w : ownWindows())
            count += std::find(top.begin(), top.end(), w) != top.end();
        return count;
    }

    void waitForTray()
    {
        ASSERT_TRUE(client.waitUntil([&] { return dialog() != XCB_NONE && trayIcon() != XCB_NONE; }, 20s))
            << "the program did not settle in the tray";
        ASSERT_FALSE(client.viewable(dialog()));
    }

    // Right-clicks the tray icon and opens the submenu with the mnemonic key. A click that
    // comes while the last menu still lets go of the pointer is lost, so it is repeated.
    void openTrayMenu(const char *submenuKey = nullptr)
    {
        ASSERT_TRUE(client.waitUntil([&] { return shownOwnTopLevels() == 0; })) << "the last menu stayed open";
        const std::optional<xtest::ScreenRect> icon = client.screenRect(trayIcon());
        ASSERT_TRUE(icon);
        bool open = false;
        for (int attempt = 0; attempt < 10 && !open; ++attempt) {
            run({"xdotool", "mousemove", std::to_string(icon->x + icon->width / 2),
                 std::to_string(icon->y + icon->height / 2), "click", "3"});
            open = client.waitUntil([&] { return shownOwnTopLevels() == 1; }, 1s);
        }
        ASSERT_TRUE(open) << "no tray menu";
        if (submenuKey) {
            run({"xdotool", "key", submenuKey});
            ASSERT_TRUE(client.waitUntil([&] { return shownOwnTopLevels() == 2; })) << "no submenu";
        }
    }

    // Picks the item at this place of a submenu of the tray menu. The place is worked out
    // before the menu opens, as the program lists the windows then.
    void chooseFromSubmenu(const char *submenuKey, std::size_t position)
    {
        openTrayMenu(submenuKey);
        std::vector<std::string> keys{"xdotool", "key"};
        for (std::size_t i = 0; i < position; ++i)
            keys.push_back("Down");
        keys.push_back("Return");  // the submenu opened with its first item active
        run(keys);
    }

    // The window's place among the rows the program lists, found the way the program finds it.
    std::size_t listedRow(xcb_window_t window)
    {
        X11WindowSystem system(display().c_str());
        const SystemFacts facts = readSystemFacts(system);
        WindowInventory inventory(system, facts);
        inventory.buildInventory();
        const int row = inventory.listedRow(window);
        if (row < 0)
            throw std::runtime_error("window not listed");
        return std::size_t(row);
    }
    std::size_t listedCount()
    {
        X11WindowSystem system(display().c_str());
        const SystemFacts facts = readSystemFacts(system);
        WindowInventory inventory(system, facts);
        inventory.buildInventory();
        return inventory.listedWindows.count();
    }

    // Clicks the point on the picker once it covers the screen. A click that comes before
    // the picker takes the pointer is lost; the picker closes on the one it gets.
    void pickWithTheMouse(int x, int y)
    {
        const std::optional<xtest::ScreenRect> screen = client.screenRect(client.root());
        auto pickerShown = [&] {
            for (xcb_window_t w : ownWindows()) {
                const std::optional<xtest::ScreenRect> r = client.screenRect(w);
                if (r && r->width == screen->width && r->height == screen->height)
                    return true;
            }
            return false;
        };
        ASSERT_TRUE(client.waitUntil(pickerShown)) << "no picker over the whole screen";
        bool picked = false;
        for (int attempt = 0; attempt < 10 && !picked; ++attempt) {
            run({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"});
            picked = client.waitUntil([&] { return !pickerShown(); }, 1s);
        }
        ASSERT_TRUE(picked) << "the picker took no click";
    }

    bool shown(xcb_window_t w) { return client.viewable(w) && client.managed(w); }
    bool withdrawn(xcb_window_t w) { return !client.viewable(w) && client.wmState(w) != 1; }

    // Focuses the program's new dialog with this title, types into its focused box and presses Return.
    void answerDialog(const std::string &title, const std::string &typed)
    {
        xcb_window_t box = XCB_NONE;
        ASSERT_TRUE(client.waitUntil([&] {
            for (xcb_window_t w : ownWindows())
                if (client.text(w, "_NET_WM_NAME") == title && client.managed(w))
                    box = w;
            return box != XCB_NONE;
        })) << "no dialog \"" << title << "\"";
        run({"xdotool", "windowfocus", std::to_string(box)});
        if (!typed.empty())
            run({"xdotool", "type", "--delay", "0", typed});
        run({"xdotool", "key", "Return"});
        ASSERT_TRUE(client.waitUntil([&] { return !client.viewable(box); })) << "\"" << title << "\" stayed open";
    }
};

// The dialog's buttons, in this process, on windows of other programs.
class DialogOnX11Test : public StoreFixture {
protected:
    XClient client{display()};

    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "winctl_program_tests";
        static char *argv[] = {name, nullptr};
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        static QApplication app(argc, argv);
        modal::startScripting();
    }

    void TearDown() override
    {
        EXPECT_EQ(modal::takeFaults(), QStringList());
        StoreFixture::TearDown();
    }

    // Selects the row with this title as a click on it does, on a fresh list.
    static void selectRow(CMainDialog &dialog, const QString &title)
    {
        dialog.refreshWindowList();
        const QList<QTreeWidgetItem *> found = dialog.listView()->findItems(title, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << title.toStdString();
        dialog.listView()->setCurrentItem(found.first());
        emit dialog.listView()->itemClicked(found.first(), 0);
    }
    static void clickButton(CMainDialog &dialog, int id)
    {
        dialog.findChild<QPushButton *>(QStringLiteral("control%1").arg(id))->click();
    }
};
