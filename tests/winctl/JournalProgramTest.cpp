// The change journal of the real program: killed with SIGKILL, a copy's changes come back
// at the next start on its display; a copy that runs, or runs elsewhere, keeps its journal.
#include "ProgramFixture.h"

#include "ChangeJournal.h"
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t opacity75 = 191u * 0x01010101u;

class JournalProgramTest : public ProgramTest {
protected:
    fs::path journals() const { return runtime / "panekeeper"; }

    std::vector<fs::path> journalFiles()
    {
        std::vector<fs::path> out;
        std::error_code none;
        for (const auto &entry : fs::directory_iterator(journals(), none))
            out.push_back(entry.path());
        return out;
    }

    std::vector<JournalRecord> recordsIn(const fs::path &file)
    {
        std::string error;
        const std::optional<JournalContent> journal = parseJournal(contents(file), error);
        EXPECT_TRUE(journal) << error;
        return journal ? journal->records : std::vector<JournalRecord>();
    }

    static void killHard(ChildProcess &copy)
    {
        ASSERT_EQ(::kill(copy.pid(), SIGKILL), 0);
        ASSERT_TRUE(copy.waitForExit(20s));
        ASSERT_TRUE(WIFSIGNALED(copy.exitStatus()));
    }

    // Waits until the program has read the desktop's windows again. It selects the events of
    // every top-level window it reads, and nothing else here selects any on a new unmapped
    // window, so such a window's first selected events mark the program's next refresh.
    static void waitForRefresh(XClient &on)
    {
        xcb_connection_t *c = on.connection();
        const xcb_window_t probe = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, on.root(), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_flush(c);
        const bool read = on.waitUntil([&] {
            std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, probe), nullptr), &std::free);
            return attributes && (attributes->all_event_masks & XCB_EVENT_MASK_PROPERTY_CHANGE);
        });
        on.destroyWindow(probe);
        ASSERT_TRUE(read) << "the program did not read the windows again";
    }

    // Makes the listed window with this title (a word) translucent as a user does from the
    // keyboard in the open dialog: the title typed into the list selects its row, and Tab
    // goes on past the grouping box and the percent box (75) to "Make transparent".
    static void makeTranslucent(XClient &on, const std::string &displayName, xcb_window_t window,
                                const std::string &title)
    {
        const xcb_window_t shownDialog = dialogOn(on);
        ASSERT_TRUE(on.waitUntil([&] { return on.managed(shownDialog) && on.viewable(shownDialog); }));
        // The list gains the dialog's own row at the first refresh after the window manager
        // took the dialog, and that rebuild drops a row selected before it; a user sees the
        // list settle before typing.
        waitForRefresh(on);
        run({"xdotool", "windowfocus", "--sync", std::to_string(shownDialog)}, displayName);
        run({"xdotool", "type", "--delay", "0", title}, displayName);
        run({"xdotool", "key", "Tab", "Tab", "Tab", "space"}, displayName);
        ASSERT_TRUE(on.waitUntil([&] { return on.cardinal(window, "_NET_WM_WINDOW_OPACITY") == opacity75; }))
            << "\"" << title << "\" was not made translucent";
    }
};

TEST_F(JournalProgramTest, AKilledCopysHiddenTopmostAndTranslucentWindowsComeBackAtTheNextStart)
{
    const xcb_window_t hidden = openProgramWindow("Hidden");
    const xcb_window_t above = openProgramWindow("Above");
    const xcb_window_t faded = openProgramWindow("Faded");
    client.askManager(hidden, "_NET_WM_STATE",
                      {1, client.atom("_NET_WM_STATE_MAXIMIZED_VERT"), client.atom("_NET_WM_STATE_MAXIMIZED_HORZ")});
    auto maximised = [&] {
        return client.hasState(hidden, "_NET_WM_STATE_MAXIMIZED_VERT") &&
               client.hasState(hidden, "_NET_WM_STATE_MAXIMIZED_HORZ");
    };
    ASSERT_TRUE(client.waitUntil(maximised));
    ChildProcess keeper = start();
    waitForTray();
    chooseFromSubmenu("h", listedRow(hidden));
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(hidden); }));
    chooseFromSubmenu("t", listedRow(above));
    ASSERT_TRUE(client.waitUntil([&] { return client.hasState(above, "_NET_WM_STATE_ABOVE"); }));
    openTrayMenu();
    run({"xdotool", "key", "p"});  // "Open &PaneKeeper Dialog"
    makeTranslucent(client, display(), faded, "Faded");

    const std::vector<fs::path> files = journalFiles();
    ASSERT_EQ(files.size(), 1u);
    const std::vector<JournalRecord> records = recordsIn(files[0]);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].window, hidden);
    EXPECT_EQ(records[1].window, above);
    EXPECT_EQ(records[2].window, faded);
    killHard(keeper);
    EXPECT_TRUE(withdrawn(hidden) && client.hasState(above, "_NET_WM_STATE_ABOVE") &&
                client.cardinal(faded, "_NET_WM_WINDOW_OPACITY"))
        << "a killed copy undid something";

    ChildProcess next = start();
    waitForTray();
    EXPECT_TRUE(client.waitUntil([&] {
        return shown(hidden) && maximised() && !client.hasState(above, "_NET_WM_STATE_ABOVE") &&
               !client.cardinal(faded, "_NET_WM_WINDOW_OPACITY");
    })) << "the killed copy's changes did not come back";
    EXPECT_EQ(journalFiles(), std::vector<fs::path>());

    chooseFromSubmenu("h", listedRow(above));
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(above); }));
    EXPECT_EQ(journalFiles().size(), 1u);
    next.stop();  // SIGTERM: an orderly end
    EXPECT_TRUE(client.waitUntil([&] { return shown(above); }));
    EXPECT_EQ(journalFiles(), std::vector<fs::path>());
}

TEST_F(JournalProgramTest, ACopyOnAnotherDisplayKeepsItsJournalUntilAStartThereAfterItWasKilled)
{
    xtest::XServer farServer;
    XClient far(farServer.display());
    xtest::XProgram farProgram(farServer.display(), "TestApp", "Faraway");
    const xcb_window_t faraway = farProgram.window();
    far.watch(faraway);
    ChildProcess farCopy = start({}, {}, farServer.display());  // no tray there: the dialog stays open
    ASSERT_TRUE(far.waitUntil([&] { return dialogOn(far) != XCB_NONE; }, 20s));
    makeTranslucent(far, farServer.display(), faraway, "Faraway");
    ASSERT_EQ(journalFiles().size(), 1u);
    const fs::path farJournal = journalFiles()[0];
    const std::string farText = contents(farJournal);

    const xcb_window_t near = openProgramWindow("Near");
    ChildProcess keeper = start();
    waitForTray();
    chooseFromSubmenu("h", listedRow(near));
    ASSERT_TRUE(client.waitUntil([&] { return withdrawn(near); }));
    EXPECT_EQ(journalFiles().size(), 2u);
    EXPECT_EQ(contents(farJournal), farText) << "a running copy's journal was touched";

    killHard(farCopy);
    killHard(keeper);
    ChildProcess next = start();
    waitForTray();
    EXPECT_TRUE(client.waitUntil([&] { return shown(near); }));
    EXPECT_EQ(journalFiles(), std::vector<fs::path>{farJournal});
    EXPECT_EQ(contents(farJournal), farText) << "another display's journal was touched";
    EXPECT_EQ(far.cardinal(faraway, "_NET_WM_WINDOW_OPACITY"), opacity75);

    ChildProcess farNext = start({}, {}, farServer.display());
    EXPECT_TRUE(far.waitUntil([&] { return !far.cardinal(faraway, "_NET_WM_WINDOW_OPACITY"); }, 20s));
    EXPECT_TRUE(client.waitUntil([&] { return journalFiles().empty(); }));
    farNext.stop();
    next.stop();
}

TEST_F(JournalProgramTest, ADamagedJournalIsSetAsideWithAMessageAndTheProgramStarts)
{
    const xcb_window_t target = openProgramWindow("Target");
    ProcessStamp ended = thisProcess();
    ++ended.started;  // this process's id with another start time: a copy that has ended
    ASSERT_TRUE(makePrivateFolder(journals()));
    const fs::path damaged = journals() / ("journal-" + std::to_string(ended.pid) + '-' + std::to_string(ended.started));
    write(damaged, "panekeeper journal 1\ndisplay " + display() + "\nserver\n");
    const fs::path log = home / "stderr.log";
    const int logFile = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(logFile, 0);
    ChildProcess keeper = start({}, {}, display(), {{logFile, 2}});
    ::close(logFile);
    waitForTray();
    EXPECT_EQ(journalFiles(), std::vector<fs::path>{damaged.string() + ".damaged"});
    EXPECT_NE(contents(log).find("is damaged"), std::string::npos) << contents(log);

    chooseFromSubmenu("h", listedRow(target));
    EXPECT_TRUE(client.waitUntil([&] { return withdrawn(target); })) << "the program does not work after it";
    keeper.stop();
    EXPECT_TRUE(client.waitUntil([&] { return shown(target); }));
}

} // namespace

// A window that was translucent or "always on top" before panekeeper changed it is given
// that state back at the end, not a default one.
TEST_F(JournalProgramTest, AnOrderlyEndGivesWindowsBackTheirOwnTranslucencyAndTopmostState)
{
    const xcb_window_t dim = openProgramWindow("Dim");
    const xcb_window_t high = openProgramWindow("High");
    const std::uint32_t opacity70 = 179u * 0x01010101u;  // 70 %
    xcb_change_property(client.connection(), XCB_PROP_MODE_REPLACE, dim, client.atom("_NET_WM_WINDOW_OPACITY"),
                        XCB_ATOM_CARDINAL, 32, 1, &opacity70);
    client.askManager(high, "_NET_WM_STATE", {1, client.atom("_NET_WM_STATE_ABOVE")});
    ASSERT_TRUE(client.waitUntil([&] {
        return client.hasState(high, "_NET_WM_STATE_ABOVE") && client.cardinal(dim, "_NET_WM_WINDOW_OPACITY") == opacity70;
    }));
    ChildProcess keeper = start();
    waitForTray();
    chooseFromSubmenu("t", listedRow(high));
    ASSERT_TRUE(client.waitUntil([&] { return journalFiles().size() == 1u; }));
    openTrayMenu();
    run({"xdotool", "key", "p"});  // "Open &PaneKeeper Dialog"
    makeTranslucent(client, display(), dim, "Dim");
    ASSERT_EQ(recordsIn(journalFiles().at(0)).size(), 2u);

    keeper.stop();  // SIGTERM: every change is undone
    EXPECT_TRUE(client.waitUntil([&] { return journalFiles().empty(); }));
    EXPECT_TRUE(client.waitUntil([&] { return client.cardinal(dim, "_NET_WM_WINDOW_OPACITY") == opacity70; }))
        << "the window's own translucency did not come back";
    EXPECT_TRUE(client.hasState(high, "_NET_WM_STATE_ABOVE")) << "a window on top by itself left the band";
}
