// What users, other programs and a second copy bring about on a real X desktop: windows
// minimised, on another desktop, maximised or with a closed window's id; clients of
// another host; titles in other encodings; the refresh under the password prompt; a
// scaled screen; a connection killed from outside; two copies started together.
#include "ProgramFixture.h"
#include "X11Fixture.h"

#include "platform/DialogTemplate.h"

#include <QCoreApplication>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

namespace {

using xtest::WindowSpec;

// Asks the manager to put the window's top-left corner near this point.
void moveTo(XClient &client, xcb_window_t window, int x, int y)
{
    const std::uint32_t place[] = {std::uint32_t(x), std::uint32_t(y)};
    xcb_configure_window(client.connection(), window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
    xcb_flush(client.connection());
    ASSERT_TRUE(client.waitUntil([&] {
        const std::optional<xtest::ScreenRect> r = client.screenRect(window);
        return r && std::abs(r->x - x) < 40 && std::abs(r->y - y) < 40;  // the frame may shift it
    })) << "the window was not moved";
}

std::string hostName()
{
    char host[HOST_NAME_MAX + 1] = {};
    ::gethostname(host, sizeof host - 1);
    return host;
}

using X11DesktopTest = X11Test;

TEST_F(X11DesktopTest, APickedPointActsOnlyOnAWindowShownOnTheCurrentDesktop)
{
    if (client.cardinal(client.root(), "_NET_NUMBER_OF_DESKTOPS").value_or(1) < 2)
        GTEST_SKIP() << "the window manager offers one desktop only";
    const xcb_window_t shown = open("Shown");
    const xcb_window_t minimised = open("Minimised");
    const xcb_window_t elsewhere = open("On another desktop");
    for (xcb_window_t w : {shown, minimised, elsewhere})
        moveTo(client, w, 300, 300);
    client.askManager(minimised, "WM_CHANGE_STATE", {3});
    client.askManager(elsewhere, "_NET_WM_DESKTOP", {1, 2});
    ASSERT_TRUE(client.waitUntil([&] {
        return client.wmState(minimised) == 3 && client.cardinal(elsewhere, "_NET_WM_DESKTOP") == 1u &&
               !client.viewable(elsewhere);
    }));
    const std::optional<xtest::ScreenRect> place = client.screenRect(shown);
    ASSERT_TRUE(place);
    inventory.buildInventory();

    actions.pickWindowMode = 1;
    actions.onPickPoint(place->x + place->width / 2, place->y + place->height / 2);
    ASSERT_EQ(actions.changeRecords.count(), 1u);
    EXPECT_EQ(actions.changeRecords[0].hwnd, shown);
    EXPECT_TRUE(client.waitUntil([&] { return withdrawn(shown); }));
}

// The manager drops a withdrawn window's state and desktop; they come back with "Show"
// and with the undoing of everything.
TEST_F(X11DesktopTest, HideThenShowKeepsTheWindowsStateAndDesktop)
{
    requireSupport("_NET_WM_STATE_MAXIMIZED_VERT");
    if (client.cardinal(client.root(), "_NET_NUMBER_OF_DESKTOPS").value_or(1) < 2)
        GTEST_SKIP() << "the window manager offers one desktop only";
    WindowSpec maximised;
    maximised.states = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"};
    const xcb_window_t big = open("Maximised", maximised);
    const xcb_window_t away = open("On desktop 2");
    client.askManager(away, "_NET_WM_DESKTOP", {1, 2});
    auto asBefore = [&] {
        return client.managed(big) && client.hasState(big, "_NET_WM_STATE_MAXIMIZED_VERT") &&
               client.hasState(big, "_NET_WM_STATE_MAXIMIZED_HORZ") && client.managed(away) &&
               client.cardinal(away, "_NET_WM_DESKTOP") == 1u;
    };
    ASSERT_TRUE(client.waitUntil(asBefore));
    inventory.buildInventory();
    actions.applyWindowAction(rowOf(big), WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(rowOf(away), WindowAction::Hide, true, ChangeKind::Hidden, true);
    ASSERT_TRUE(client.waitUntil([&] {
        return !client.managed(big) && !client.managed(away) && !client.hasState(big, "_NET_WM_STATE_MAXIMIZED_VERT");
    }));

    actions.applyWindowAction(0, WindowAction::Restore, true, ChangeKind::Hidden, true);  // "Show"
    actions.undoAll();
    EXPECT_TRUE(client.waitUntil(asBefore));
}

// A copy killed after a hide has lost what it kept; the next copy, on a connection of its
// own, gives it back from the text the journal held.
TEST_F(X11DesktopTest, AHiddenWindowsStateAndDesktopComeBackThroughAnotherConnection)
{
    requireSupport("_NET_WM_STATE_MAXIMIZED_VERT");
    if (client.cardinal(client.root(), "_NET_NUMBER_OF_DESKTOPS").value_or(1) < 2)
        GTEST_SKIP() << "the window manager offers one desktop only";
    WindowSpec maximised;
    maximised.states = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"};
    const xcb_window_t big = open("Maximised on desktop 2", maximised);
    client.askManager(big, "_NET_WM_DESKTOP", {1, 2});
    auto asBefore = [&] {
        return client.managed(big) && client.hasState(big, "_NET_WM_STATE_MAXIMIZED_VERT") &&
               client.hasState(big, "_NET_WM_STATE_MAXIMIZED_HORZ") && client.cardinal(big, "_NET_WM_DESKTOP") == 1u;
    };
    ASSERT_TRUE(client.waitUntil(asBefore));
    std::string kept;
    {
        X11WindowSystem killed(xtest::testServer().display().c_str());
        kept = killed.showState(big);
        killed.hideWindow(big);
        EXPECT_EQ(killed.showState(big), kept) << "what a hidden window kept";
    }
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(big) && !client.hasState(big, "_NET_WM_STATE_MAXIMIZED_VERT"); }));

    X11WindowSystem next(xtest::testServer().display().c_str());
    EXPECT_EQ(next.showState(big), "") << "nothing is known of a window hidden by another connection";
    next.adoptShowState(big, kept);
    next.showWindow(big);
    EXPECT_TRUE(client.waitUntil(asBefore));
    client.askManager(big, "_NET_WM_DESKTOP", {0, 2});
}

TEST_F(X11DesktopTest, TheServerMarkIsOneForAllClientsAndTheDisplayNameLeavesOutTheScreen)
{
    const std::string display = xtest::testServer().display();  // ":N"
    X11WindowSystem plain(display.c_str());
    X11WindowSystem withScreen((display + ".0").c_str());
    X11WindowSystem local(("unix" + display).c_str());
    EXPECT_EQ(plain.displayName(), display);
    EXPECT_EQ(withScreen.displayName(), display);
    EXPECT_EQ(local.displayName(), display);
    const std::string mark = plain.serverMark();
    EXPECT_EQ(mark.size(), 16u);
    EXPECT_EQ(withScreen.serverMark(), mark);
    EXPECT_EQ(system.serverMark(), mark);
}

TEST_F(X11DesktopTest, AWindowWithTheIdOfAClosedOneIsReadAfresh)
{
    WindowSpec closed;
    closed.className = "OldApp";
    closed.pid = 1111;
    const xcb_window_t w = open("Old window", closed);
    inventory.buildInventory();
    ASSERT_TRUE(row(w));
    client.destroyWindow(w);
    ASSERT_TRUE(client.waitUntil([&] { return !client.managed(w); }));

    WindowSpec reused;
    reused.id = w;
    reused.className = "NewApp";
    reused.pid = 2222;
    open("New window", reused);
    inventory.buildInventory();
    ASSERT_TRUE(row(w));
    EXPECT_EQ(row(w)->title, "New window");
    EXPECT_EQ(row(w)->className, "NewApp");
    EXPECT_EQ(row(w)->processIdText, formatProcessId(2222));
}

TEST_F(X11DesktopTest, AClientOfAnotherHostShowsNoProgramOfThisOne)
{
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const struct {
        const char *title;
        std::string machine;  // empty: WM_CLIENT_MACHINE not set
        bool local;
    } clients[] = {
        {"Remote client", "elsewhere.invalid", false},
        {"Local client", hostName(), true},
        {"Client naming no machine", "", true},
    };
    std::vector<xcb_window_t> windows;
    for (const auto &c : clients) {
        WindowSpec options;
        options.pid = std::uint32_t(::getpid());
        windows.push_back(open(c.title, options));
        if (!c.machine.empty())
            xcb_change_property(client.connection(), XCB_PROP_MODE_REPLACE, windows.back(), XCB_ATOM_WM_CLIENT_MACHINE,
                                XCB_ATOM_STRING, 8, std::uint32_t(c.machine.size()), c.machine.data());
    }
    xcb_flush(client.connection());
    ASSERT_TRUE(client.waitUntil([&] { return client.text(windows[1], "WM_CLIENT_MACHINE") == clients[1].machine; }));
    inventory.buildInventory();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        ASSERT_TRUE(row(windows[i])) << clients[i].title;
        EXPECT_EQ(row(windows[i])->fileName, clients[i].local ? self : "unknown") << clients[i].title;
        EXPECT_EQ(row(windows[i])->processIdText, formatProcessId(clients[i].local ? ProcessId(::getpid()) : 0))
            << clients[i].title;
    }
}

TEST_F(X11DesktopTest, TitlesAreReadInTheEncodingTheirTypeNames)
{
    const struct {
        const char *type;
        std::string bytes, title;
    } titles[] = {
        {"STRING", "Caf\xE9", "Café"},
        {"UTF8_STRING", "Caf\xC3\xA9 \xE2\x82\xAC", "Café €"},
        {"COMPOUND_TEXT", "Caf\xE9", "Café"},
        {"COMPOUND_TEXT", "\x1B-F\xE1\xEB\xF6\xE1 \x1B-L\xBF\xE0\xD8\xD2\xD5\xE2", "αλφα Привет"},
        {"COMPOUND_TEXT", "Euro \x1B-b\xA4", "Euro €"},
        {"COMPOUND_TEXT", "\x1B%G\xE6\x97\xA5\xE6\x9C\xAC\x1B%@ \xE9", "日本 é"},
        {"COMPOUND_TEXT", "\x1B$)B\xC6\xFC\xCB\xDC", "日本"},
        {"COMPOUND_TEXT", "\x1B%/1\x80\x8B" "big5-0\x02\xA4\xA4\xA4\xE5", "中文"},
    };
    std::vector<xcb_window_t> windows;
    for (const auto &t : titles) {
        WindowSpec options;
        options.ewmhName = false;
        windows.push_back(open("placeholder", options));
        xcb_change_property(client.connection(), XCB_PROP_MODE_REPLACE, windows.back(), XCB_ATOM_WM_NAME,
                            client.atom(t.type), 8, std::uint32_t(t.bytes.size()), t.bytes.data());
    }
    xcb_flush(client.connection());
    ASSERT_TRUE(client.waitUntil([&] { return client.text(windows.back(), "WM_NAME") == titles[7].bytes; }));
    inventory.buildInventory();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        ASSERT_TRUE(row(windows[i])) << titles[i].title;
        EXPECT_EQ(row(windows[i])->title, titles[i].title) << titles[i].type;
    }
}

// With grouping off the prompt is a row of its own, at the top, as soon as the 100 ms
// refresh sees it.
TEST_F(DialogOnX11Test, AGuardedHideActsOnTheSelectedWindowWhileThePromptIsUp)
{
    createDefaultSettings();
    SettingsValues values;
    values.groupByDefault = false;
    values.protection.protectHide = true;
    values.storedPassword = "pw";
    ASSERT_TRUE(writeSettings(values));
    xtest::XProgram target(display(), "TestApp", "Guarded target");
    client.watch(target.window());
    X11WindowSystem system(display().c_str());
    CMainDialog dialog(system);
    ASSERT_TRUE(dialog.initialise({}));
    dialog.showDialog();
    const auto own = xcb_window_t(dialog.winId());
    auto settles = [&](const std::function<bool()> &condition) {
        return client.waitUntil([&] {
            QCoreApplication::processEvents();
            return condition();
        });
    };
    ASSERT_TRUE(settles([&] { return client.managed(own); }));
    selectRow(dialog, "Guarded target");
    const int rows = dialog.listView()->topLevelItemCount();

    modal::expect([&](QDialog &prompt) {
        EXPECT_TRUE(settles([&] { return client.managed(xcb_window_t(prompt.winId())); }));
        dialog.refreshWindowList();  // as the timer does while the prompt is up
        EXPECT_EQ(dialog.listView()->topLevelItemCount(), rows) << "the list was rebuilt under the prompt";
        DialogTemplate::control<QLineEdit>(&prompt, 1013)->setText("pw");
        DialogTemplate::control<QPushButton>(&prompt, 1)->click();
    });
    clickButton(dialog, CMainDialog::HideButton);
    ASSERT_EQ(dialog.actions.changeRecords.count(), 1u);
    EXPECT_EQ(dialog.actions.changeRecords[0].hwnd, target.window());
    EXPECT_TRUE(client.waitUntil([&] { return !client.viewable(target.window()); }));
    EXPECT_TRUE(client.viewable(own));
    dialog.endProgram();
}

// Qt's points are in pixels scaled by the factor, window places in the server's pixels.
TEST_F(ProgramTest, OnAScaledScreenThePickerActsOnTheWindowUnderTheClick)
{
    const xcb_window_t clicked = openProgramWindow("Under the click");
    const xcb_window_t halfway = openProgramWindow("At half the distance");
    moveTo(client, clicked, 700, 500);
    moveTo(client, halfway, 300, 200);
    const std::optional<xtest::ScreenRect> place = client.screenRect(clicked);
    const std::optional<xtest::ScreenRect> other = client.screenRect(halfway);
    ASSERT_TRUE(place && other);
    const int x = place->x + place->width / 2, y = place->y + place->height / 2;
    ASSERT_TRUE(x / 2 >= other->x && x / 2 < other->x + other->width && y / 2 >= other->y &&
                y / 2 < other->y + other->height);

    ChildProcess keeper = start({}, {"QT_SCALE_FACTOR=2"});
    waitForTray();
    chooseFromSubmenu("h", listedCount());  // "  Select..."
    pickWithTheMouse(x, y);
    EXPECT_TRUE(client.waitUntil([&] { return withdrawn(clicked); })) << "the clicked window was not hidden";
    EXPECT_TRUE(shown(halfway));
}

// xkill: the server closes the program's Qt connection, and Qt ends the process.
TEST_F(ProgramTest, AConnectionKilledFromOutsideEndsTheProgramWithEveryChangeUndone)
{
    const xcb_window_t target = openProgramWindow("Hidden before the kill");
    ChildProcess keeper = start();
    waitForTray();
    chooseFromSubmenu("h", listedRow(target));
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(target); }));

    EXPECT_EQ(run({"xkill", "-id", std::to_string(dialog())}), 0);
    ASSERT_TRUE(keeper.waitForExit(20s));
    EXPECT_TRUE(WIFEXITED(keeper.exitStatus())) << "ended by a signal";
    EXPECT_TRUE(client.waitUntil([&] { return shown(target); })) << "the hidden window stayed hidden";
    EXPECT_TRUE(std::filesystem::is_empty(runtime / "panekeeper")) << "a journal was left";
}

TEST_F(ProgramTest, OfCopiesStartedTogetherOneStaysAndTheOthersShowItsDialog)
{
    std::vector<ChildProcess> copies;
    for (int i = 0; i < 4; ++i)
        copies.push_back(start());
    auto running = [&] {
        return std::count_if(copies.begin(), copies.end(), [](ChildProcess &copy) { return copy.running(); });
    };
    ASSERT_TRUE(client.waitUntil([&] { return running() == 1; }, 30s)) << running() << " copies stayed";
    for (const ChildProcess &copy : copies) {
        if (copy.pid() < 0) {
            EXPECT_TRUE(WIFEXITED(copy.exitStatus()) && WEXITSTATUS(copy.exitStatus()) == 0);
        }
    }
    EXPECT_TRUE(client.waitUntil([&] { return shown(dialog()); })) << "the staying copy's dialog did not come up";
    std::size_t dialogs = 0;
    for (xcb_window_t w : ownWindows(false))
        dialogs += client.wmClass(w).second == "#32770" && client.text(w, "_NET_WM_NAME") == dialogTitle;
    EXPECT_EQ(dialogs, 1u);
}

} // namespace
