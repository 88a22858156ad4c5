// The program on a real X desktop, and its dialog's buttons on real windows.
#include "ProgramFixture.h"

#include <filesystem>

namespace {

TEST_F(ProgramTest, StartsIntoTheTrayWithDefaultSettingsAndASecondStartShowsIt)
{
    ChildProcess first = start();
    waitForTray();
    expectDefaultSettingsStored();

    ChildProcess second = start();
    ASSERT_TRUE(second.waitForExit(20s));
    EXPECT_TRUE(WIFEXITED(second.exitStatus()) && WEXITSTATUS(second.exitStatus()) == 0);
    ASSERT_TRUE(client.waitUntil([&] { return shown(dialog()); })) << "the first copy's dialog did not come up";
    EXPECT_TRUE(client.waitUntil([&] { return trayIcon() == XCB_NONE; })) << "no tray icon while the dialog is open";

    run({"wmctrl", "-c", dialogTitle});  // the caption's close box
    EXPECT_TRUE(client.waitUntil([&] { return !client.viewable(dialog()) && trayIcon() != XCB_NONE; }));
    EXPECT_TRUE(first.running());
}

TEST_F(ProgramTest, TraySubmenusChangeWindowsAndExitBringsThemBack)
{
    const xcb_window_t target = openProgramWindow("Target");
    const xcb_window_t other = openProgramWindow("Other");
    ChildProcess keeper = start();
    waitForTray();

    chooseFromSubmenu("h", listedRow(target));
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(target); })) << "not hidden";

    chooseFromSubmenu("t", listedRow(other));
    ASSERT_TRUE(client.waitUntil([&] { return client.hasState(other, "_NET_WM_STATE_ABOVE"); })) << "not on top";

    chooseFromSubmenu("r", 0);  // "Target (hidden)", the first change
    ASSERT_TRUE(client.waitUntil([&] { return shown(target); })) << "not restored";

    chooseFromSubmenu("h", listedRow(target));
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(target); }));

    openTrayMenu();
    run({"xdotool", "key", "x"});
    ASSERT_TRUE(keeper.waitForExit(20s)) << "E&xit did not end the program";
    EXPECT_EQ(keeper.exitStatus(), 0);
    EXPECT_TRUE(client.waitUntil([&] { return shown(target) && !client.hasState(other, "_NET_WM_STATE_ABOVE"); }));
    EXPECT_TRUE(std::filesystem::is_empty(runtime / "panekeeper")) << "a journal was left";
}

TEST_F(ProgramTest, ThePickerHidesTheClickedWindowAndATerminationSignalShowsItAgain)
{
    const xcb_window_t target = openProgramWindow("Picked");
    ChildProcess keeper = start();
    waitForTray();
    chooseFromSubmenu("h", listedCount());  // "  Select...", after the windows
    const std::optional<xtest::ScreenRect> place = client.screenRect(target);
    ASSERT_TRUE(place);
    pickWithTheMouse(place->x + place->width / 2, place->y + place->height / 2);
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(target); })) << "the picked window was not hidden";

    keeper.stop();  // SIGTERM
    EXPECT_TRUE(WIFEXITED(keeper.exitStatus()) && WEXITSTATUS(keeper.exitStatus()) == 0);
    EXPECT_TRUE(client.waitUntil([&] { return shown(target); })) << "a terminated program left its change";
}

TEST_F(ProgramTest, ExitGuardedByThePasswordStaysWithItsChangesWhenThePasswordIsWrong)
{
    createDefaultSettings();
    SettingsValues values;
    values.protection.protectExit = true;
    values.storedPassword = "Secret";
    ASSERT_TRUE(writeSettings(values));
    const xcb_window_t target = openProgramWindow("Guarded");
    ChildProcess keeper = start();
    waitForTray();
    chooseFromSubmenu("h", listedRow(target));
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(target); }));

    openTrayMenu();
    run({"xdotool", "key", "x"});
    answerDialog("Enter Your Password", "secret");
    answerDialog("PaneKeeper", "");  // "Password is incorrect!"
    EXPECT_TRUE(keeper.running());
    EXPECT_TRUE(withdrawn(target));

    openTrayMenu();
    run({"xdotool", "key", "x"});
    answerDialog("Enter Your Password", "Secret");
    ASSERT_TRUE(keeper.waitForExit(20s));
    EXPECT_TRUE(client.waitUntil([&] { return shown(target); }));
}

TEST_F(ProgramTest, TheSettingsArgumentShowsOnlyTheSheet)
{
    ChildProcess sheet = start({"settings"});
    xcb_window_t window = XCB_NONE;
    ASSERT_TRUE(client.waitUntil([&] {
        for (xcb_window_t w : ownWindows())
            if (client.text(w, "_NET_WM_NAME") == "Settings" && client.managed(w))
                window = w;
        return window != XCB_NONE;
    }));
    EXPECT_EQ(trayIcon(), XCB_NONE);
    EXPECT_EQ(dialog(), XCB_NONE);
    run({"wmctrl", "-c", "Settings"});
    ASSERT_TRUE(sheet.waitForExit(20s));
    EXPECT_EQ(sheet.exitStatus(), 0);
}


TEST_F(DialogOnX11Test, ButtonsHideShowRaiseDimAndRestoreRealWindows)
{
    xtest::XProgram target(display(), "TestApp", "Button target");
    const xcb_window_t w = target.window();
    client.watch(w);
    X11WindowSystem system(display().c_str());
    CMainDialog dialog(system);
    ASSERT_TRUE(dialog.initialise({}));
    dialog.showDialog();

    selectRow(dialog, "Button target");
    clickButton(dialog, CMainDialog::HideButton);
    ASSERT_TRUE(client.waitUntil([&] { return !client.viewable(w); }));
    selectRow(dialog, "Button target (hidden)");
    clickButton(dialog, CMainDialog::ShowButton);
    ASSERT_TRUE(client.waitUntil([&] { return client.viewable(w) && client.managed(w); }));

    selectRow(dialog, "Button target");
    clickButton(dialog, CMainDialog::MakeTopmostButton);
    ASSERT_TRUE(client.waitUntil([&] { return client.hasState(w, "_NET_WM_STATE_ABOVE"); }));
    selectRow(dialog, "Button target");
    clickButton(dialog, CMainDialog::RestoreButton);
    ASSERT_TRUE(client.waitUntil([&] { return !client.hasState(w, "_NET_WM_STATE_ABOVE"); }));

    selectRow(dialog, "Button target");
    dialog.findChild<QLineEdit *>(QStringLiteral("control1013"))->setText("40");
    clickButton(dialog, CMainDialog::MakeTransparentButton);
    ASSERT_TRUE(client.waitUntil([&] { return client.cardinal(w, "_NET_WM_WINDOW_OPACITY") == 102u * 0x01010101u; }));
    selectRow(dialog, "Button target");
    clickButton(dialog, CMainDialog::MakeOpaqueButton);
    ASSERT_TRUE(client.waitUntil([&] { return !client.cardinal(w, "_NET_WM_WINDOW_OPACITY"); }));
    dialog.endProgram();
}

} // namespace
