#include "DesktopFixture.h"

namespace {

using InventoryTest = DesktopFixture;

class InventoryModeTest : public DesktopFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(InventoryModeTest, ListsVisibleTitledWindowsTheTaskbarAndToolbarButNeverTheDesktop)
{
    inventory.groupChildWindows = GetParam();
    add("Editor");
    add("");  // untitled
    add("", taskbarClassName);
    add("", toolbarClassName);
    add("Program Manager", desktopClassName);
    desktop.window(add("Ghost")).visible = false;
    build();

    EXPECT_EQ(titles(inventory.listedWindows), (std::vector<std::string>{"Editor", "Taskbar", "Toolbar"}));
    if (GetParam()) {
        // Every visible window but the desktop, under its own title, for the picker.
        EXPECT_EQ(titles(inventory.allWindows), (std::vector<std::string>{"Editor", "", "", ""}));
    } else {
        EXPECT_EQ(inventory.allWindows.count(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(GroupingOnAndOff, InventoryModeTest, ::testing::Bool());

TEST_F(InventoryTest, EntryCarriesProcessStatesAndOwner)
{
    const WindowHandle hwnd = addEditor(1234, 191);
    const WindowHandle plain = add("Plain");
    build();

    const WindowEntry &e = row(hwnd);
    EXPECT_EQ(e.hwnd, hwnd);
    EXPECT_EQ(e.className, "EditorClass");
    EXPECT_EQ(e.processIdText, "000004D2");
    EXPECT_EQ(e.fileName, "/usr/bin/editor");
    EXPECT_EQ(e.topmostText, "Yes");
    EXPECT_EQ(e.opacityText, "74 %");
    EXPECT_EQ(e.changeKind, ChangeKind::None);
    EXPECT_EQ(row(plain).topmostText, "No");
    EXPECT_EQ(row(plain).opacityText, "100 %");
    EXPECT_EQ(row(plain).processIdText, "00000000");
    EXPECT_EQ(row(plain).fileName, "unknown");
}

struct FileNameCase {
    const char *name;
    std::uint32_t version;
    bool processFunctions;
    std::optional<std::string> imagePath;
    std::vector<std::string> modules;
    std::string expected;
};

class FileNameTest : public DesktopFixture, public ::testing::WithParamInterface<FileNameCase> {};

TEST_P(FileNameTest, FindsTheExecutableTheWayTheSystemAllows)
{
    const FileNameCase &c = GetParam();
    desktop.systemVersion = c.version;
    desktop.functions.enumProcessModules = desktop.functions.getModuleFileNameEx = c.processFunctions;
    desktop.processes[7] = {c.imagePath, c.modules};
    FakeWindow w;
    w.title = "Tool";
    w.process = 7;
    const WindowHandle hwnd = desktop.addWindow(w);
    build();
    EXPECT_EQ(row(hwnd).fileName, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, FileNameTest,
    ::testing::Values(
        FileNameCase{"v5_1", FakeDesktop::versionNumber(5, 1), true, "C:\\Apps\\tool.exe", {}, "C:\\Apps\\tool.exe"},
        FileNameCase{"processClosed", FakeDesktop::versionNumber(5, 1), true, std::nullopt, {}, "unknown"},
        FileNameCase{"psapiMissing", FakeDesktop::versionNumber(4, 0), false, "C:\\Apps\\tool.exe", {}, "unknown"},
        FileNameCase{"family9xFirstExeModule", FakeDesktop::versionNumber(4, 10, true), true, "C:\\ignored.exe",
                     {"C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL", "C:\\Apps\\Tool.exe", "C:\\Apps\\other.EXE"},
                     "C:\\Apps\\Tool.exe"},
        FileNameCase{"family9xNoExe", FakeDesktop::versionNumber(4, 90, true), true, "C:\\ignored.exe",
                     {"C:\\WINDOWS\\SYSTEM\\USER32.DLL"}, "unknown"}),
    [](const auto &info) { return std::string(info.param.name); });

struct OpacityCase {
    const char *name;
    std::uint32_t version;
    bool readFunction;
    std::optional<std::uint8_t> alpha;  // empty: not layered
    std::string expected;
};

class OpacityTest : public DesktopFixture, public ::testing::WithParamInterface<OpacityCase> {};

TEST_P(OpacityTest, ReadsAlphaOnlyWhereTheSystemCan)
{
    const OpacityCase &c = GetParam();
    desktop.systemVersion = c.version;
    desktop.functions.getLayeredWindowAttributes = c.readFunction;
    FakeWindow w;
    w.title = "Window";
    if (c.alpha) {
        w.exStyle = exStyleLayered;
        w.alpha = c.alpha;
    }
    const WindowHandle hwnd = desktop.addWindow(w);
    build();
    EXPECT_EQ(row(hwnd).opacityText, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, OpacityTest,
    ::testing::Values(OpacityCase{"v5_1alpha191", FakeDesktop::versionNumber(5, 1), true, 191, "74 %"},
                      OpacityCase{"v5_1alpha0", FakeDesktop::versionNumber(5, 1), true, 0, "0 %"},
                      OpacityCase{"v5_1alpha255", FakeDesktop::versionNumber(5, 1), true, 255, "100 %"},
                      OpacityCase{"v5_1notLayered", FakeDesktop::versionNumber(5, 1), true, std::nullopt, "100 %"},
                      OpacityCase{"v5_1functionMissing", FakeDesktop::versionNumber(5, 1), false, 191, "100 %"},
                      OpacityCase{"v5_0", FakeDesktop::versionNumber(5, 0), true, 191, "100 %"},
                      OpacityCase{"v4_0", FakeDesktop::versionNumber(4, 0), true, 191, "100 %"},
                      OpacityCase{"v4_10family9x", FakeDesktop::versionNumber(4, 10, true), true, 191, "100 %"},
                      // A later major version with minor 0 still reads alpha.
                      OpacityCase{"v6_0", FakeDesktop::versionNumber(6, 0), true, 191, "74 %"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(InventoryTest, GroupingFoldsOwnedWindowsAndShowsTheirStatesOnTheOwnerRow)
{
    const WindowHandle main = add("Main");
    FakeWindow dialog;
    dialog.title = "Find";
    dialog.owner = main;
    dialog.exStyle = exStyleTopmost;
    const WindowHandle find = desktop.addWindow(dialog);
    FakeWindow palette;
    palette.title = "";
    palette.owner = main;
    palette.exStyle = exStyleLayered;
    palette.alpha = 128;
    const WindowHandle tools = desktop.addWindow(palette);
    build();

    EXPECT_EQ(titles(inventory.listedWindows), std::vector<std::string>{"Main"});
    EXPECT_EQ(row(main).topmostText, "Yes");
    EXPECT_EQ(row(main).opacityText, "50 %");
    EXPECT_EQ(std::vector<WindowHandle>(inventory.ownedWindows.begin(), inventory.ownedWindows.end()),
              (std::vector<WindowHandle>{find, tools}));
    EXPECT_EQ(inventory.allWindows.count(), 3u);

    // The owner's own state wins over its windows'.
    desktop.window(main).exStyle = exStyleLayered;
    desktop.window(main).alpha = 230;
    build();
    EXPECT_EQ(row(main).opacityText, "90 %");

    inventory.groupChildWindows = false;
    build();
    EXPECT_EQ(titles(inventory.listedWindows), (std::vector<std::string>{"Main", "Find"}));
    EXPECT_EQ(row(main).topmostText, "No");
    EXPECT_EQ(inventory.ownedWindows.count(), 0u);
}

class HostOwnerTest : public DesktopFixture,
                      public ::testing::WithParamInterface<std::pair<const char *, bool>> {};

TEST_P(HostOwnerTest, WindowsOfHostWindowsStandAlone)
{
    const auto [ownerClass, standsAlone] = GetParam();
    const WindowHandle host = add("", ownerClass);
    const WindowHandle applet = add("Applet", "Applet", host);
    build();
    EXPECT_EQ(inventory.listedRow(applet) >= 0, standsAlone);
    EXPECT_EQ(inventory.ownedWindows.contains(applet), !standsAlone);
}

INSTANTIATE_TEST_SUITE_P(OwnerClasses, HostOwnerTest,
                         ::testing::Values(std::pair("RunDLL", true), std::pair("rundll", true),
                                           std::pair("StubWindow32", true), std::pair("STUBWINDOW32", true),
                                           std::pair("RunDLL32", false), std::pair("App", false)));

TEST_F(InventoryTest, EveryBuildStartsAfresh)
{
    const WindowHandle a = add("A");
    add("B");
    build();
    ASSERT_EQ(inventory.listedWindows.count(), 2u);
    desktop.removeWindow(a);
    build();
    EXPECT_EQ(titles(inventory.listedWindows), std::vector<std::string>{"B"});
    EXPECT_EQ(titles(inventory.allWindows), std::vector<std::string>{"B"});
}

TEST_F(InventoryTest, TablesStopAtTheirCapacity)
{
    const WindowHandle main = add("Main");
    for (int i = 0; i < 2100; ++i)
        add("Owned", "App", main);
    for (int i = 0; i < 2100; ++i)
        add("Window " + std::to_string(i));
    build();
    EXPECT_EQ(inventory.ownedWindows.count(), tableCapacity);
    EXPECT_EQ(inventory.allWindows.count(), tableCapacity);
    EXPECT_EQ(inventory.listedWindows.count(), tableCapacity);
    EXPECT_EQ(inventory.listedWindows[tableCapacity - 1].title, "Window 1998");
}

TEST_F(InventoryTest, WindowVanishingDuringTheEnumerationIsListedWithWhatWasRead)
{
    const WindowHandle doomed = add("Doomed");
    desktop.processes[5].imagePath = "/bin/doomed";
    desktop.window(doomed).process = 5;
    add("Survivor");
    int queries = 0;
    desktop.beforeQuery = [&](WindowHandle h) {
        if (h == doomed && ++queries == 4)  // after class, title and visibility
            desktop.removeWindow(doomed);
    };
    build();
    EXPECT_EQ(titles(inventory.listedWindows), (std::vector<std::string>{"Doomed", "Survivor"}));
    EXPECT_EQ(row(doomed).fileName, "unknown");
    EXPECT_EQ(row(doomed).opacityText, "100 %");
}

TEST_F(InventoryTest, TitlesAndClassNamesKeep255Characters)
{
    std::string accented;
    for (int i = 0; i < 300; ++i)
        accented += "\xC3\xA9";  // é
    const WindowHandle hwnd = add(accented, std::string(300, 'C'));
    build();
    EXPECT_EQ(row(hwnd).title, accented.substr(0, 510));
    EXPECT_EQ(row(hwnd).className, std::string(255, 'C'));
}

TEST_F(InventoryTest, SecondModeHandsEveryWindowToThePreviousCopyCheck)
{
    const WindowHandle hidden = add("Kesto@PaneKeeper", "#32770");
    desktop.window(hidden).visible = false;
    const WindowHandle other = add("Other");
    std::vector<std::tuple<WindowHandle, std::string, std::string>> seen;
    inventory.previousCopyCheck = [&](WindowHandle h, const std::string &className, const std::string &title) {
        seen.emplace_back(h, className, title);
    };
    facts = readSystemFacts(desktop);
    inventory.enumerateWindows(1);
    EXPECT_EQ(seen, (std::vector<std::tuple<WindowHandle, std::string, std::string>>{
                        {hidden, "#32770", "Kesto@PaneKeeper"}, {other, "App", "Other"}}));
    EXPECT_EQ(inventory.listedWindows.count(), 0u);
}

TEST(SystemFactsTest, SplitsTheVersionAndResolvesNothingOnThe9xFamily)
{
    FakeDesktop desktop;
    desktop.systemVersion = 0x0A280105;
    SystemFacts facts = readSystemFacts(desktop);
    EXPECT_EQ(facts.osMajor, 5);
    EXPECT_EQ(facts.osMinor, 1);
    EXPECT_FALSE(facts.isWin9x);
    EXPECT_TRUE(facts.functions.setLayeredWindowAttributes);

    desktop.systemVersion = FakeDesktop::versionNumber(4, 90, true);
    facts = readSystemFacts(desktop);
    EXPECT_EQ(facts.osMajor, 4);
    EXPECT_EQ(facts.osMinor, 90);
    EXPECT_TRUE(facts.isWin9x);
    EXPECT_FALSE(facts.functions.enumProcessModules || facts.functions.getModuleFileNameEx ||
                 facts.functions.setLayeredWindowAttributes || facts.functions.getLayeredWindowAttributes);
}

} // namespace
