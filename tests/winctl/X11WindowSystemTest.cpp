// The X11 backend and the window rules over it, against a real X server and window
// manager; every effect is checked through the server's own properties.
#include "X11Fixture.h"

#include "XTestProgram.h"

#include <filesystem>

namespace {

using xtest::WindowSpec;

constexpr std::uint32_t opacity75 = 191u * 0x01010101u;

TEST_F(X11Test, ListsWindowsTopFirstWithProcessExecutableTopmostAndOpacity)
{
    xtest::XProgram other(xtest::testServer().display(), "OtherApp", "Other program");
    WindowSpec above;
    above.states = {"_NET_WM_STATE_ABOVE"};
    const xcb_window_t topmost = open("Always above", above);
    WindowSpec faded;
    faded.opacity = opacity75;
    faded.className = "Faded";
    faded.ewmhName = false;  // a title in WM_NAME only
    const xcb_window_t translucent = open("Faded window", faded);
    const xcb_window_t plain = open("Plain");
    inventory.buildInventory();

    const WindowEntry *o = row(other.window());
    ASSERT_TRUE(o);
    EXPECT_EQ(o->title, "Other program");
    EXPECT_EQ(o->className, "OtherApp");
    EXPECT_EQ(o->processIdText, formatProcessId(ProcessId(other.pid())));
    EXPECT_EQ(o->fileName, std::filesystem::canonical(xtest::XProgram::executable()).string());
    EXPECT_EQ(o->topmostText, "No");
    EXPECT_EQ(o->opacityText, "100 %");

    ASSERT_TRUE(row(topmost) && row(translucent) && row(plain));
    EXPECT_EQ(row(topmost)->topmostText, "Yes");
    EXPECT_EQ(row(translucent)->opacityText, "74 %");
    EXPECT_EQ(row(translucent)->title, "Faded window");
    EXPECT_EQ(row(plain)->processIdText, "00000000");
    EXPECT_EQ(row(plain)->fileName, "unknown");

    // The rows follow the manager's stacking order, top first.
    std::vector<xcb_window_t> expected = client.clientList();
    std::reverse(expected.begin(), expected.end());
    std::vector<xcb_window_t> listed;
    for (const WindowEntry &e : inventory.listedWindows)
        listed.push_back(e.hwnd);
    std::erase_if(expected, [&](xcb_window_t w) { return inventory.listedRow(w) < 0; });
    EXPECT_EQ(listed, expected);
}

TEST_F(X11Test, DesktopIsLeftOutAndADockIsTheTaskbar)
{
    WindowSpec dock;
    dock.windowType = "_NET_WM_WINDOW_TYPE_DOCK";
    const xcb_window_t panel = open("Panel", dock);
    WindowSpec background;
    background.windowType = "_NET_WM_WINDOW_TYPE_DESKTOP";
    const xcb_window_t desk = open("Desktop", background);
    inventory.buildInventory();

    ASSERT_TRUE(row(panel));
    EXPECT_EQ(row(panel)->title, "Taskbar");
    EXPECT_EQ(row(panel)->className, taskbarClassName);
    EXPECT_FALSE(row(desk));
    EXPECT_TRUE(std::none_of(inventory.allWindows.begin(), inventory.allWindows.end(),
                             [&](const WindowEntry &e) { return e.hwnd == desk; }));
}

TEST_F(X11Test, HiddenWindowIsWithdrawnStaysEnumerableAndComesBack)
{
    const xcb_window_t victim = open("Victim");
    inventory.buildInventory();
    actions.applyWindowAction(rowOf(victim), WindowAction::Hide, true, ChangeKind::Hidden, true);
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(victim); }));

    inventory.buildInventory();
    EXPECT_FALSE(row(victim));
    bool enumerated = false;
    system.enumWindows([&](WindowHandle h) {
        enumerated = enumerated || h == victim;
        return true;
    });
    EXPECT_TRUE(enumerated);
    EXPECT_FALSE(system.isVisible(victim));
    EXPECT_EQ(system.windowText(victim), "Victim");

    actions.applyWindowAction(0, WindowAction::Restore, true, ChangeKind::Hidden, true);  // "Show"
    EXPECT_TRUE(client.waitUntil([&] { return shown(victim); }));
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

TEST_F(X11Test, TopmostIsSetAndClearedThroughTheManager)
{
    requireSupport("_NET_WM_STATE_ABOVE");
    const xcb_window_t w = open("Raise me");
    inventory.buildInventory();
    actions.applyWindowAction(rowOf(w), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    ASSERT_TRUE(client.waitUntil([&] { return client.hasState(w, "_NET_WM_STATE_ABOVE"); }));
    inventory.buildInventory();
    EXPECT_EQ(row(w)->topmostText, "Yes");

    actions.applyWindowAction(rowOf(w), WindowAction::Restore, true, ChangeKind::OnTop, true);
    EXPECT_TRUE(client.waitUntil([&] { return !client.hasState(w, "_NET_WM_STATE_ABOVE"); }));
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

TEST_F(X11Test, MinimisedWindowComesBackWhenMadeTopmost)
{
    requireSupport("_NET_WM_STATE_ABOVE");
    const xcb_window_t w = open("Minimised");
    client.askManager(w, "WM_CHANGE_STATE", {3});  // IconicState
    ASSERT_TRUE(client.waitUntil([&] { return client.wmState(w) == 3; }));

    inventory.buildInventory();
    ASSERT_TRUE(row(w)) << "a minimised window still counts as visible";
    actions.applyWindowAction(rowOf(w), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    EXPECT_TRUE(client.waitUntil([&] { return shown(w) && client.hasState(w, "_NET_WM_STATE_ABOVE"); }));
}

TEST_F(X11Test, TransparencyIsWrittenToTheWindowAndItsTransientsAndCleared)
{
    const xcb_window_t main = open("Canvas");
    WindowSpec transient;
    transient.transientFor = main;
    const xcb_window_t palette = open("Palette", transient);
    inventory.buildInventory();
    actions.transparencyPercent = 75;
    actions.applyWindowAction(rowOf(main), WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    ASSERT_TRUE(client.waitUntil([&] {
        return client.cardinal(main, "_NET_WM_WINDOW_OPACITY") == opacity75 &&
               client.cardinal(palette, "_NET_WM_WINDOW_OPACITY") == opacity75;
    }));
    inventory.buildInventory();
    EXPECT_EQ(row(main)->opacityText, "74 %");

    actions.applyWindowAction(rowOf(main), WindowAction::Restore, true, ChangeKind::Transparent, true);
    EXPECT_TRUE(client.waitUntil([&] {
        return !client.cardinal(main, "_NET_WM_WINDOW_OPACITY") && !client.cardinal(palette, "_NET_WM_WINDOW_OPACITY");
    }));
}

TEST_F(X11Test, TransientWindowsFoldIntoTheirOwnerAndFollowIt)
{
    xtest::XProgram owner(xtest::testServer().display(), "Suite", "Suite main window");
    client.watch(owner.window());
    WindowSpec dialog;
    dialog.transientFor = owner.window();
    dialog.states = {"_NET_WM_STATE_ABOVE"};
    const xcb_window_t find = open("Find", dialog);
    inventory.buildInventory();

    EXPECT_FALSE(row(find));
    ASSERT_TRUE(row(owner.window()));
    ASSERT_TRUE(client.hasState(find, "_NET_WM_STATE_ABOVE"));
    EXPECT_EQ(row(owner.window())->topmostText, "Yes") << "the topmost dialog shows on its owner's row";
    EXPECT_TRUE(inventory.ownedWindows.contains(find));

    actions.applyWindowAction(rowOf(owner.window()), WindowAction::Hide, true, ChangeKind::Hidden, true);
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(owner.window()) && withdrawn(find); }));
    actions.undoAll();
    EXPECT_TRUE(client.waitUntil([&] { return shown(owner.window()) && shown(find); }));
}

TEST_F(X11Test, ADialogTransientForItsGroupLeaderHasNoOwner)
{
    // Toolkits mark a dialog without a parent as transient for its group's leader, a
    // window never shown: the dialog stands alone, as a dialog without owner does.
    WindowSpec leader;
    leader.map = false;
    const xcb_window_t group = open("leader", leader);
    WindowSpec dialog;
    dialog.transientFor = group;
    dialog.clientLeader = group;
    const xcb_window_t alone = open("Parentless dialog", dialog);
    inventory.buildInventory();
    ASSERT_TRUE(row(alone));
    EXPECT_EQ(row(alone)->owner, 0u);
    EXPECT_FALSE(inventory.ownedWindows.contains(alone));
}

// A copy that shows the running one's dialog ends at once: what it asked for must be
// carried out although events it never read are waiting when it closes its connection.
TEST_F(X11Test, ChangesAskedForJustBeforeTheConnectionClosesAreCarriedOut)
{
    std::vector<xcb_window_t> windows;
    for (int i = 0; i < 10; ++i)
        windows.push_back(open("Closing " + std::to_string(i)));
    for (xcb_window_t w : windows) {
        auto quick = std::make_unique<X11WindowSystem>(xtest::testServer().display().c_str());
        quick->enumWindows([](WindowHandle) { return true; });  // selects the windows' property changes
        for (xcb_window_t other : windows) {
            const std::string name = "noise";
            xcb_change_property(client.connection(), XCB_PROP_MODE_REPLACE, other, client.atom("XTEST_NOISE"),
                                XCB_ATOM_STRING, 8, std::uint32_t(name.size()), name.data());
        }
        xcb_flush(client.connection());
        client.waitUntil([&] { return !client.text(windows.back(), "XTEST_NOISE").empty(); });
        quick->hideWindow(w);
        quick.reset();
    }
    EXPECT_TRUE(client.waitUntil([&] {
        return std::all_of(windows.begin(), windows.end(), [&](xcb_window_t w) { return withdrawn(w); });
    }));
}

TEST_F(X11Test, UndoAllPutsEveryWindowBack)
{
    requireSupport("_NET_WM_STATE_ABOVE");
    const xcb_window_t hidden = open("To hide");
    const xcb_window_t raised = open("To raise");
    const xcb_window_t faded = open("To fade");
    WindowSpec transient;
    transient.transientFor = faded;
    const xcb_window_t fadedTool = open("Fade tool", transient);
    inventory.buildInventory();
    actions.applyWindowAction(rowOf(hidden), WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(rowOf(raised), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    actions.applyWindowAction(rowOf(faded), WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    ASSERT_TRUE(client.waitUntil([&] {
        return withdrawn(hidden) && client.hasState(raised, "_NET_WM_STATE_ABOVE") &&
               client.cardinal(fadedTool, "_NET_WM_WINDOW_OPACITY").has_value();
    }));

    actions.undoAll();
    EXPECT_TRUE(client.waitUntil([&] {
        return shown(hidden) && !client.hasState(raised, "_NET_WM_STATE_ABOVE") &&
               !client.cardinal(faded, "_NET_WM_WINDOW_OPACITY") && !client.cardinal(fadedTool, "_NET_WM_WINDOW_OPACITY");
    }));
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

TEST_F(X11Test, ChangesMadeByOtherProgramsShowInTheNextInventory)
{
    const xcb_window_t w = open("Before");
    inventory.buildInventory();
    ASSERT_EQ(row(w)->opacityText, "100 %");

    const std::string title = "After";
    xcb_change_property(client.connection(), XCB_PROP_MODE_REPLACE, w, client.atom("_NET_WM_NAME"),
                        client.atom("UTF8_STRING"), 8, std::uint32_t(title.size()), title.data());
    xcb_change_property(client.connection(), XCB_PROP_MODE_REPLACE, w, client.atom("_NET_WM_WINDOW_OPACITY"),
                        XCB_ATOM_CARDINAL, 32, 1, &opacity75);
    ASSERT_TRUE(client.waitUntil([&] { return client.cardinal(w, "_NET_WM_WINDOW_OPACITY") == opacity75; }));
    inventory.buildInventory();
    EXPECT_EQ(row(w)->title, "After");
    EXPECT_EQ(row(w)->opacityText, "74 %");

    client.destroyWindow(w);
    ASSERT_TRUE(client.waitUntil([&] { return !client.managed(w); }));
    inventory.buildInventory();
    EXPECT_FALSE(row(w));
}

TEST_F(X11Test, WindowThatVanishedIsIgnored)
{
    const xcb_window_t w = open("Short-lived");
    inventory.buildInventory();
    const std::uint32_t r = rowOf(w);
    client.destroyWindow(w);
    ASSERT_TRUE(client.waitUntil([&] { return !client.managed(w); }));

    actions.applyWindowAction(r, WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    actions.applyWindowAction(r, WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    actions.applyWindowAction(r, WindowAction::Hide, true, ChangeKind::Hidden, true);
    EXPECT_EQ(actions.changeRecords.count(), 3u);
    actions.undoAll();
    EXPECT_EQ(actions.changeRecords.count(), 0u);

    EXPECT_EQ(system.className(w), "");
    EXPECT_FALSE(system.isVisible(w));
    EXPECT_FALSE(system.windowRect(w).has_value());
    // The connection survives the errors: a new window is still seen.
    const xcb_window_t next = open("Next");
    inventory.buildInventory();
    EXPECT_TRUE(row(next));
    EXPECT_FALSE(row(w));
}

TEST_F(X11Test, PickedPointActsOnTheWindowUnderIt)
{
    const xcb_window_t main = open("Picked owner");
    WindowSpec transient;
    transient.transientFor = main;
    transient.width = 80;
    transient.height = 60;
    const xcb_window_t dialog = open("Picked dialog", transient);
    inventory.buildInventory();
    const std::optional<WindowRect> rect = system.windowRect(dialog);
    ASSERT_TRUE(rect);
    EXPECT_GE(rect->right - rect->left, 80);  // the frame belongs to the window

    actions.pickWindowMode = 1;
    actions.onPickPoint((rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2);
    EXPECT_TRUE(client.waitUntil([&] { return withdrawn(main) && withdrawn(dialog); }));
    EXPECT_EQ(actions.changeRecords.count(), 1u);
    actions.undoAll();
    EXPECT_TRUE(client.waitUntil([&] { return shown(main) && shown(dialog); }));
}

TEST_F(X11Test, SmallIconIsTheSmallestOfAtLeastSixteenPixels)
{
    const xcb_window_t w = open("Iconic program");
    std::vector<std::uint32_t> icons;
    for (std::uint32_t size : {8u, 32u, 16u}) {
        icons.push_back(size);
        icons.push_back(size);
        icons.insert(icons.end(), size * size, 0xFF000000u | size);
    }
    xcb_change_property(client.connection(), XCB_PROP_MODE_REPLACE, w, client.atom("_NET_WM_ICON"),
                        XCB_ATOM_CARDINAL, 32, std::uint32_t(icons.size()), icons.data());
    ASSERT_TRUE(client.waitUntil([&] { return !client.property32(w, "_NET_WM_ICON").empty(); }));

    const WindowIcon icon = system.smallIcon(w);
    EXPECT_EQ(icon.width, 16);
    EXPECT_EQ(icon.height, 16);
    EXPECT_EQ(icon.argb, std::vector<std::uint32_t>(256, 0xFF000010u));
}

TEST_F(X11Test, PreviousCopySearchFindsAWindowThatWasNeverShown)
{
    WindowSpec dialog;
    dialog.className = "#32770";
    dialog.map = false;
    const xcb_window_t hidden = open("Kesto@PaneKeeper", dialog);
    bool found = false;
    inventory.previousCopyCheck = [&](WindowHandle h, const std::string &className, const std::string &title) {
        found = found || (h == hidden && className == "#32770" && title == "Kesto@PaneKeeper");
    };
    inventory.enumerateWindows(1);
    EXPECT_TRUE(found);
}

} // namespace
