#include "DesktopFixture.h"

namespace {

using ActionsTest = DesktopFixture;

std::vector<FakeCall> only(const std::vector<FakeCall> &calls, const std::string &name)
{
    std::vector<FakeCall> out;
    for (const FakeCall &c : calls) {
        if (c.name == name)
            out.push_back(c);
    }
    return out;
}

TEST_F(ActionsTest, HidingAWindowHidesWhatItOwnsAndRestoringShowsThemAgain)
{
    const WindowHandle main = add("Main");
    const WindowHandle find = add("Find", "App", main);
    const WindowHandle tools = add("", "App", main);
    const WindowHandle other = add("Other");
    build();

    actions.applyWindowAction(rowOf(main), WindowAction::Hide, true, ChangeKind::Hidden, true);
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"hideWindow", main}, {"hideWindow", find}, {"hideWindow", tools}}));
    EXPECT_FALSE(desktop.window(find).visible);
    EXPECT_TRUE(desktop.window(other).visible);
    ASSERT_EQ(actions.changeRecords.count(), 1u);
    EXPECT_EQ(actions.changeRecords[0].title, "Main (hidden)");
    EXPECT_EQ(std::vector<WindowHandle>(actions.touchedOwnedWindows.begin(), actions.touchedOwnedWindows.end()),
              (std::vector<WindowHandle>{find, tools}));

    desktop.calls.clear();
    actions.applyWindowAction(0, WindowAction::Restore, false, ChangeKind::None, true);
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"showWindow", main}, {"showWindow", find}, {"showWindow", tools}}));
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

struct RecordCase {
    const char *name;
    WindowAction action;
    std::string title;
    std::string topmostText;
    std::string opacityText;
};

class RecordTest : public DesktopFixture, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordTest, RecordCopiesTheRowWithItsKindSuffixAndState)
{
    const RecordCase &c = GetParam();
    const WindowHandle hwnd = addEditor(0x2A, 230);
    build();
    actions.transparencyPercent = 40;
    actions.applyWindowAction(0, c.action, false, ChangeKind(int(c.action)), true);

    ASSERT_EQ(actions.changeRecords.count(), 1u);
    const WindowEntry &r = actions.changeRecords[0];
    EXPECT_EQ(r.hwnd, hwnd);
    EXPECT_EQ(r.className, "EditorClass");
    EXPECT_EQ(r.processIdText, "0000002A");
    EXPECT_EQ(r.fileName, "/usr/bin/editor");
    EXPECT_EQ(r.changeKind, ChangeKind(int(c.action)));
    EXPECT_EQ(r.title, c.title);
    EXPECT_EQ(r.topmostText, c.topmostText);
    EXPECT_EQ(r.opacityText, c.opacityText);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RecordTest,
    ::testing::Values(RecordCase{"hide", WindowAction::Hide, "Editor (hidden)", "Yes", "90 %"},
                      RecordCase{"topmost", WindowAction::MakeTopmost, "Editor (on top)", "No", "90 %"},
                      RecordCase{"transparent", WindowAction::MakeTransparent, "Editor (transparent)", "Yes", "40 %"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActionsTest, MakingAWindowTransparentTwiceKeepsOneRecordWithTheLastPercent)
{
    const WindowHandle hwnd = add("Editor");
    build();
    actions.transparencyPercent = 75;
    actions.applyWindowAction(0, WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    actions.transparencyPercent = 40;
    actions.applyWindowAction(0, WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);

    EXPECT_EQ(only(desktop.calls, "setLayeredAlpha"),
              (std::vector<FakeCall>{{"setLayeredAlpha", hwnd, 191}, {"setLayeredAlpha", hwnd, 102}}));
    ASSERT_EQ(actions.changeRecords.count(), 1u);
    EXPECT_EQ(actions.changeRecords[0].opacityText, "40 %");
    EXPECT_EQ(desktop.window(hwnd).alpha, 102);
}

TEST_F(ActionsTest, TopmostRestoresAMinimisedWindowFirstAndIsRecordedEvenWhenAlreadyTopmost)
{
    const WindowHandle main = add("Main");
    desktop.window(main).exStyle = exStyleTopmost;
    desktop.window(main).minimised = true;
    const WindowHandle dialog = add("Dialog", "App", main);
    build();

    actions.applyWindowAction(0, WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"restoreWindow", main},
                                                    {"setTopmost", main, 1},
                                                    {"setTopmost", dialog, 1}}));
    ASSERT_EQ(actions.changeRecords.count(), 1u);

    // Undoing keeps the main window in the band it was in by itself; only the dialog leaves it.
    actions.applyWindowAction(0, WindowAction::Restore, false, ChangeKind::None, true);
    EXPECT_TRUE(desktop.window(main).exStyle & exStyleTopmost);
    EXPECT_FALSE(desktop.window(dialog).exStyle & exStyleTopmost);
}

TEST_F(ActionsTest, HiddenTaskbarIsRecordedUnderItsNameAndComesBackWithUndoAll)
{
    const WindowHandle taskbar = add("", taskbarClassName);
    build();
    ASSERT_EQ(row(taskbar).title, "Taskbar");
    actions.applyWindowAction(0, WindowAction::Hide, false, ChangeKind::Hidden, true);
    ASSERT_EQ(actions.changeRecords.count(), 1u);
    EXPECT_EQ(actions.changeRecords[0].title, "Taskbar (hidden)");
    EXPECT_FALSE(desktop.window(taskbar).visible);

    actions.undoAll();
    EXPECT_TRUE(desktop.window(taskbar).visible);
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

TEST_F(ActionsTest, MakeOpaqueWithoutARecordClearsTheWindowAndEverythingItOwns)
{
    // Made transparent by another program: no record here.
    const WindowHandle main = add("Main");
    const WindowHandle palette = add("Palette", "App", main);
    for (WindowHandle h : {main, palette}) {
        desktop.window(h).exStyle = exStyleLayered;
        desktop.window(h).alpha = 128;
    }
    build();
    ASSERT_EQ(row(main).opacityText, "50 %");

    actions.applyWindowAction(0, WindowAction::Restore, true, ChangeKind::Transparent, true);
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"setExtendedStyle", main, 0},
                                                    {"redrawWindow", main},
                                                    {"setExtendedStyle", palette, 0},
                                                    {"redrawWindow", palette}}));
    EXPECT_FALSE(desktop.layeredAlpha(main).has_value());
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

TEST_F(ActionsTest, DialogRestoreOfARecordedChangeUsesTheTouchedWindowsAndDropsTheRecord)
{
    const WindowHandle main = add("Main");
    const WindowHandle palette = add("Palette", "App", main);
    build();
    actions.applyWindowAction(0, WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    actions.applyWindowAction(0, WindowAction::Hide, true, ChangeKind::Hidden, true);
    ASSERT_EQ(actions.changeRecords.count(), 2u);

    desktop.calls.clear();
    actions.applyWindowAction(0, WindowAction::Restore, true, ChangeKind::OnTop, true);
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"setTopmost", main, 0}, {"setTopmost", palette, 0}}));
    ASSERT_EQ(actions.changeRecords.count(), 1u);
    EXPECT_EQ(actions.changeRecords[0].changeKind, ChangeKind::Hidden);
}

TEST_F(ActionsTest, ShowRestoresTheHiddenRecordAtThePositionAmongHiddenRecords)
{
    const WindowHandle a = add("A");
    const WindowHandle b = add("B");
    const WindowHandle c = add("C");
    build();
    actions.applyWindowAction(rowOf(a), WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(rowOf(b), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    actions.applyWindowAction(rowOf(c), WindowAction::Hide, true, ChangeKind::Hidden, true);

    desktop.calls.clear();
    actions.applyWindowAction(1, WindowAction::Restore, true, ChangeKind::Hidden, true);
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"showWindow", c}}));
    EXPECT_EQ(titles(actions.changeRecords), (std::vector<std::string>{"A (hidden)", "B (on top)"}));
    EXPECT_EQ(actions.hiddenRecord(0), 0);
    EXPECT_EQ(actions.hiddenRecord(1), -1);
}

struct GateCase {
    const char *name;
    bool ProtectionFlags::*flag;
    WindowAction action;
    ChangeKind restoredKind;  // for a restore: the kind made first, then restored
};

class PasswordGateTest : public DesktopFixture, public ::testing::WithParamInterface<GateCase> {
protected:
    int questions = 0;
    bool answer = false;

    void SetUp() override
    {
        add("Window");
        build();
        actions.askPassword = [this] {
            ++questions;
            return answer;
        };
        const GateCase &c = GetParam();
        if (c.action == WindowAction::Restore)
            actions.applyWindowAction(0, WindowAction(int(c.restoredKind)), false, c.restoredKind, false);
        actions.protection.*c.flag = true;
        desktop.calls.clear();
    }

    void request(bool askPassword)
    {
        const GateCase &c = GetParam();
        actions.applyWindowAction(0, c.action, false, ChangeKind(int(c.action)), askPassword);
    }
};

TEST_P(PasswordGateTest, RefusedPasswordChangesNothing)
{
    const std::uint32_t records = actions.changeRecords.count();
    request(true);
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(actions.changeRecords.count(), records);
}

TEST_P(PasswordGateTest, AcceptedPasswordLetsTheRequestThrough)
{
    answer = true;
    request(true);
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(desktop.calls.empty());
}

TEST_P(PasswordGateTest, RequestThatDoesNotAskGoesThroughWithoutAQuestion)
{
    request(false);
    EXPECT_EQ(questions, 0);
    EXPECT_FALSE(desktop.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PasswordGateTest,
    ::testing::Values(
        GateCase{"hide", &ProtectionFlags::protectHide, WindowAction::Hide, ChangeKind::None},
        GateCase{"onTop", &ProtectionFlags::protectOnTop, WindowAction::MakeTopmost, ChangeKind::None},
        GateCase{"transparent", &ProtectionFlags::protectTransparent, WindowAction::MakeTransparent, ChangeKind::None},
        GateCase{"restoreHidden", &ProtectionFlags::protectRestoreHidden, WindowAction::Restore, ChangeKind::Hidden},
        GateCase{"restoreOnTop", &ProtectionFlags::protectRestoreOnTop, WindowAction::Restore, ChangeKind::OnTop},
        GateCase{"restoreTransparent", &ProtectionFlags::protectRestoreTransparent, WindowAction::Restore,
                 ChangeKind::Transparent}),
    [](const auto &info) { return std::string(info.param.name); });

// The password prompt runs an event loop in which the list is built anew and other
// requests come: a request acts on the window it was made for, wherever that went
// meanwhile, and on nothing when it is gone.
TEST_F(ActionsTest, AGuardedRequestActsAfterThePromptOnTheWindowItWasMadeFor)
{
    const struct {
        const char *name;
        WindowAction action;
        ChangeKind kind;
    } requests[] = {
        {"Hide", WindowAction::Hide, ChangeKind::Hidden},
        {"Make \"Always on top\"", WindowAction::MakeTopmost, ChangeKind::OnTop},
        {"Make transparent", WindowAction::MakeTransparent, ChangeKind::Transparent},
        {"Restore", WindowAction::Restore, ChangeKind::OnTop},
        {"Make opaque", WindowAction::Restore, ChangeKind::Transparent},
    };
    actions.protection = {true, true, true, true, true, true, true};
    for (const auto &r : requests) {
        for (const bool targetCloses : {false, true}) {
            const WindowHandle above = add("Above");
            const WindowHandle target = add("Target");
            const WindowHandle below = add("Below");
            build();
            actions.askPassword = [&] {
                desktop.removeWindow(targetCloses ? target : above);
                inventory.buildInventory();  // the refresh while the prompt is open
                return true;
            };
            desktop.calls.clear();
            actions.applyWindowAction(rowOf(target), r.action, true, r.kind, true);
            for (const FakeCall &call : desktop.calls)
                EXPECT_EQ(call.window, target) << r.name;
            EXPECT_EQ(desktop.calls.empty(), targetCloses) << r.name;
            actions.undoAll();
            for (WindowHandle w : {above, target, below})
                desktop.removeWindow(w);
        }
    }

    // "Show" of the second hidden row and the tray's restore of the second record, while a
    // restore of the first one comes in during the prompt.
    for (const bool byRecord : {false, true}) {
        const WindowHandle first = add("First");
        const WindowHandle second = add("Second");
        build();
        actions.applyWindowAction(rowOf(first), WindowAction::Hide, false, ChangeKind::Hidden, false);
        actions.applyWindowAction(rowOf(second), WindowAction::Hide, false, ChangeKind::Hidden, false);
        actions.askPassword = [&] {
            actions.applyWindowAction(0, WindowAction::Restore, false, ChangeKind::None, false);
            return true;
        };
        actions.applyWindowAction(1, WindowAction::Restore, !byRecord, ChangeKind::Hidden, true);
        EXPECT_TRUE(desktop.window(first).visible && desktop.window(second).visible) << byRecord;
        EXPECT_TRUE(actions.changeRecords.empty()) << byRecord;
        desktop.removeWindow(first);
        desktop.removeWindow(second);
    }
}

TEST_F(ActionsTest, UndoAllRestoresInCreationOrderWithoutAskingForThePassword)
{
    const WindowHandle a = add("A");
    const WindowHandle b = add("B");
    const WindowHandle owned = add("Owned", "App", b);
    build();
    actions.applyWindowAction(rowOf(b), WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    actions.applyWindowAction(rowOf(a), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    actions.applyWindowAction(rowOf(b), WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.protection = {true, true, true, true, true, true, true};
    int questions = 0;
    actions.askPassword = [&] { return ++questions, false; };

    desktop.calls.clear();
    actions.undoAll();
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"setExtendedStyle", b, 0},
                                                    {"redrawWindow", b},
                                                    {"setExtendedStyle", owned, 0},
                                                    {"redrawWindow", owned},
                                                    {"setTopmost", a, 0},
                                                    {"showWindow", b},
                                                    {"showWindow", owned}}));
    EXPECT_EQ(actions.changeRecords.count(), 0u);
    EXPECT_EQ(actions.touchedOwnedWindows.count(), 0u);
}

struct NoLayeringCase {
    const char *name;
    std::uint32_t version;
    bool setFunction;
    int percent;
};

class NoTransparencyTest : public DesktopFixture, public ::testing::WithParamInterface<NoLayeringCase> {};

TEST_P(NoTransparencyTest, TransparencyIsNotAppliedWhereItCannotBeOrForABadPercent)
{
    const NoLayeringCase &c = GetParam();
    desktop.systemVersion = c.version;
    desktop.functions.setLayeredWindowAttributes = c.setFunction;
    add("Window");
    build();
    actions.transparencyPercent = c.percent;
    actions.applyWindowAction(0, WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoTransparencyTest,
    ::testing::Values(NoLayeringCase{"v4_0", FakeDesktop::versionNumber(4, 0), true, 75},
                      NoLayeringCase{"v4_10family9x", FakeDesktop::versionNumber(4, 10, true), true, 75},
                      NoLayeringCase{"functionMissing", FakeDesktop::versionNumber(5, 0), false, 75},
                      NoLayeringCase{"above100", FakeDesktop::versionNumber(5, 1), true, 150},
                      NoLayeringCase{"negative", FakeDesktop::versionNumber(5, 1), true, -1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActionsTest, WindowThatVanishedFailsSilentlyAndItsRecordStaysUntilRestored)
{
    const WindowHandle gone = add("Gone");
    const WindowHandle owned = add("Owned", "App", gone);
    build();
    actions.applyWindowAction(0, WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    desktop.removeWindow(gone);
    desktop.removeWindow(owned);
    build();
    actions.applyWindowAction(0, WindowAction::Hide, true, ChangeKind::Hidden, true);  // no rows left
    EXPECT_EQ(titles(actions.changeRecords), std::vector<std::string>{"Gone (on top)"});

    actions.applyWindowAction(0, WindowAction::Restore, false, ChangeKind::None, true);
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

TEST_F(ActionsTest, ChangeThatCannotBeRecordedIsNotMade)
{
    for (std::uint32_t i = 0; i < tableCapacity; ++i)
        add("Window " + std::to_string(i));
    build();
    for (std::uint32_t i = 0; i < tableCapacity; ++i)
        actions.applyWindowAction(i, WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    ASSERT_TRUE(actions.changeRecords.full());

    desktop.calls.clear();
    actions.applyWindowAction(0, WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(1, WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    EXPECT_TRUE(desktop.calls.empty());

    // Changing a change already recorded needs no new record.
    actions.transparencyPercent = 10;
    actions.applyWindowAction(0, WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    EXPECT_EQ(desktop.window(inventory.listedWindows[0].hwnd).alpha, 25);
    EXPECT_EQ(actions.changeRecords[0].opacityText, "10 %");

    actions.undoAll();
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

TEST_F(ActionsTest, OwnedWindowThatCannotBeRememberedIsLeftAlone)
{
    const WindowHandle big = add("Big");
    for (std::uint32_t i = 0; i < tableCapacity; ++i)
        add("", "App", big);
    build();
    actions.applyWindowAction(0, WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    ASSERT_TRUE(actions.touchedOwnedWindows.full());

    const WindowHandle main = add("Main");
    const WindowHandle dialog = add("Dialog", "App", main);
    desktop.removeWindow(big);
    build();
    actions.applyWindowAction(rowOf(main), WindowAction::Hide, true, ChangeKind::Hidden, true);
    EXPECT_FALSE(desktop.window(main).visible);
    EXPECT_TRUE(desktop.window(dialog).visible);
}

class PickerTest : public DesktopFixture {
protected:
    WindowHandle main = 0, dialog = 0, host = 0, applet = 0;

    void SetUp() override
    {
        // Top of the Z order first: a dialog over its main window, an applet over its host.
        dialog = add("Dialog");
        main = add("Main");
        applet = add("Applet", "Applet");
        host = add("Host", "RunDLL");
        desktop.window(dialog).owner = main;
        desktop.window(applet).owner = host;
        desktop.window(dialog).rect = {100, 100, 200, 200};
        desktop.window(main).rect = {0, 0, 400, 400};
        desktop.window(applet).rect = {500, 0, 550, 50};
        desktop.window(host).rect = {500, 0, 600, 100};
        build();
        actions.askPassword = [this] { return ++questions, true; };
    }

    int questions = 0;
};

TEST_F(PickerTest, PickingAnOwnedWindowActsOnItsOwnersRow)
{
    actions.pickWindowMode = 1;
    actions.onPickPoint(150, 150);
    EXPECT_EQ(only(desktop.calls, "hideWindow"),
              (std::vector<FakeCall>{{"hideWindow", main}, {"hideWindow", dialog}}));
    EXPECT_EQ(titles(actions.changeRecords), std::vector<std::string>{"Main (hidden)"});
}

TEST_F(PickerTest, PickingAListedWindowWithAListedOwnerActsOnBothAndAsksTwice)
{
    actions.protection.protectOnTop = true;
    actions.pickWindowMode = 0;
    actions.onPickPoint(510, 10);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(titles(actions.changeRecords), (std::vector<std::string>{"Applet (on top)", "Host (on top)"}));
}

TEST_F(PickerTest, PointOutsideEveryWindowChangesNothing)
{
    actions.pickWindowMode = 1;
    actions.onPickPoint(400, 400);  // right and bottom edges are outside
    actions.onPickPoint(700, 700);
    EXPECT_TRUE(desktop.calls.empty());

    inventory.groupChildWindows = false;  // no allWindows, so nothing to pick
    build();
    actions.onPickPoint(150, 150);
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(ActionsTest, RequestsForRowsOrRecordsThatDoNotExistDoNothing)
{
    add("Only");
    build();
    actions.applyWindowAction(5, WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(3, WindowAction::Restore, false, ChangeKind::None, true);
    actions.applyWindowAction(0, WindowAction::Restore, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(1, WindowAction::Restore, true, ChangeKind::OnTop, true);
    EXPECT_TRUE(desktop.calls.empty());
}

} // namespace
