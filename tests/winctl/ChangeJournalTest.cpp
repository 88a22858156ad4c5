// The change journal on real files: what the actions write before each change, what a
// later start puts back, and which journals it must not apply.
#include "DesktopFixture.h"

#include "ChangeJournal.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

const JournalDisplay here{":5", "0123456789abcdef"};

std::string contents(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A copy of the program that has ended: this process's id with another start time.
ProcessStamp endedCopy()
{
    ProcessStamp stamp = thisProcess();
    ++stamp.started;
    return stamp;
}

class JournalTest : public DesktopFixture {
protected:
    fs::path folder;
    std::unique_ptr<ChangeJournal> journal;

    void SetUp() override
    {
        char name[] = "/tmp/winctl-journal-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override
    {
        actions.journal = nullptr;
        journal.reset();
        fs::remove_all(folder);
    }

    // The actions write to a journal of this copy; killCopy() ends it without undoing.
    void keepJournal(ProcessStamp owner = endedCopy(), const fs::path &in = {})
    {
        journal = std::make_unique<ChangeJournal>(in.empty() ? folder : in, JournalHeader{here, owner});
        actions.journal = journal.get();
    }
    void killCopy()
    {
        actions.journal = nullptr;
        journal.reset();
    }

    fs::path writeJournal(const JournalHeader &header, const std::vector<JournalRecord> &records)
    {
        ChangeJournal written(folder, header);
        EXPECT_TRUE(written.add(records));
        return written.file();
    }

    std::vector<std::string> replay() { return replayJournals(folder, here, desktop, facts); }

    std::vector<std::string> filesInFolder()
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    JournalRecord hiddenRecord(WindowHandle w)
    {
        return {ChangeKind::Hidden, w, desktop.window(w).process, desktop.window(w).className, ""};
    }
};

TEST(JournalTextTest, ReadsBackWhatItWritesAndTellsDamageFromAnAppendCutShort)
{
    const JournalHeader header{{"host:10", "feedc0de"}, {4242, 987654}};
    const std::vector<JournalRecord> records{
        {ChangeKind::Hidden, 0x00400007, 77, "My App 100%", "1:305,306"},
        {ChangeKind::OnTop, 0x0060000A, 0, "", ""},
        {ChangeKind::Transparent, 0xFFFFFFFF, 4294967295u, "-", "\n\t\x7F"},
    };
    std::string text = formatJournalHeader(header);
    for (const JournalRecord &r : records)
        text += formatJournalRecord(r);
    std::string error;
    const std::optional<JournalContent> read = parseJournal(text, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->header, header);
    EXPECT_EQ(read->records, records);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7) << "a line per record";

    const std::string head = formatJournalHeader(header);
    const struct {
        const char *name;
        std::string text;
        int records;  // -1: damaged
    } cases[] = {
        {"an append cut short", head + "hidden 00400007 77 App -\nontop 0040", 1},
        {"only the header", head, 0},
        {"empty", "", -1},
        {"another version", "panekeeper journal 2\n" + head.substr(head.find('\n') + 1), -1},
        {"header cut short", head.substr(0, head.find("owner")), -1},
        {"header line cut short", head.substr(0, head.size() - 3), -1},
        {"owner not a number", "panekeeper journal 1\ndisplay :0\nserver x\nowner -5 10\n", -1},
        {"unknown kind", head + "moved 00400007 77 App -\n", -1},
        {"window not hexadecimal", head + "hidden 0040zz07 77 App -\n", -1},
        {"no window", head + "hidden 00000000 77 App -\n", -1},
        {"a field missing", head + "hidden 00400007 77 App\n", -1},
        {"a field too many", head + "hidden 00400007 77 My App -\n", -1},
        {"a broken escape", head + "hidden 00400007 77 App%4 -\n", -1},
        {"a bare tab", head + "hidden 00400007 77 A\tpp -\n", -1},
        {"a damaged line before good ones", head + "hidden 00400007 x App -\nontop 00400009 7 App -\n", -1},
    };
    for (const auto &c : cases) {
        const std::optional<JournalContent> parsed = parseJournal(c.text, error);
        if (c.records < 0) {
            EXPECT_FALSE(parsed) << c.name;
        } else {
            ASSERT_TRUE(parsed) << c.name << ": " << error;
            EXPECT_EQ(parsed->records.size(), std::size_t(c.records)) << c.name;
        }
    }
}

TEST(JournalTextTest, OnlyALiveProcessWithItsOwnStartTimeIsRunning)
{
    EXPECT_TRUE(isRunning(thisProcess()));
    EXPECT_FALSE(isRunning(endedCopy())) << "another process under a reused id";

    int told[2];
    ASSERT_EQ(::pipe(told), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char byte;
        ::close(told[1]);
        ::_exit(int(::read(told[0], &byte, 1)));  // ends when the pipe closes
    }
    ::close(told[0]);
    const std::optional<ProcessStamp> stamp = processStamp(child);
    ASSERT_TRUE(stamp);
    EXPECT_TRUE(isRunning(*stamp));
    ::close(told[1]);
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, id_t(child), &info, WEXITED | WNOWAIT), 0);  // ended, not yet looked at
    EXPECT_FALSE(isRunning(*stamp)) << "an ended process its parent has not looked at";
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(isRunning(*stamp));
}

TEST_F(JournalTest, AKilledCopysChangesComeBackAtTheNextStartAndItsJournalGoes)
{
    const WindowHandle main = add("Main");
    const WindowHandle find = add("Find", "App", main);
    const WindowHandle other = add("Other", "Other");
    const WindowHandle third = add("Third", "Third");
    desktop.window(main).process = 10;
    desktop.window(main).showState = "maximised";
    build();
    keepJournal();

    actions.applyWindowAction(rowOf(main), WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(rowOf(other), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    actions.transparencyPercent = 40;
    actions.applyWindowAction(rowOf(third), WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    const std::vector<JournalRecord> expected{{ChangeKind::Hidden, main, 10, "App", "maximised"},
                                              {ChangeKind::Hidden, find, 0, "App", ""},
                                              {ChangeKind::OnTop, other, 0, "Other", ""},
                                              {ChangeKind::Transparent, third, 0, "Third", ""}};
    EXPECT_EQ(journal->records(), expected);
    std::string error;
    const std::optional<JournalContent> onDisk = parseJournal(contents(journal->file()), error);
    ASSERT_TRUE(onDisk) << error;
    EXPECT_EQ(onDisk->records, expected);

    killCopy();
    desktop.window(main).showState.clear();  // the manager let go of it at the hide
    desktop.calls.clear();
    const std::vector<std::string> messages = replay();

    for (WindowHandle w : {main, find})
        EXPECT_TRUE(desktop.window(w).visible);
    EXPECT_EQ(desktop.window(main).showState, "maximised");
    EXPECT_FALSE(desktop.window(other).exStyle & exStyleTopmost);
    EXPECT_FALSE(desktop.window(third).exStyle & exStyleLayered);
    EXPECT_EQ(desktop.calls.front(), (FakeCall{"adoptShowState", main}));
    EXPECT_EQ(filesInFolder(), std::vector<std::string>());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("put back 4 change(s)"), std::string::npos) << messages[0];
}

TEST_F(JournalTest, OnlyAnEndedCopysJournalOfThisDisplayAndServerRunIsApplied)
{
    const WindowHandle w = add("Hidden");
    desktop.window(w).visible = false;
    build();
    const struct {
        const char *name;
        JournalHeader header;
        bool applied;
        bool kept;
    } cases[] = {
        {"an ended copy on this display", {here, endedCopy()}, true, false},
        {"a running copy on this display", {here, thisProcess()}, false, true},
        {"an ended copy on another display", {{":6", here.server}, endedCopy()}, false, true},
        {"an ended copy of an earlier server run", {{here.name, "0000000000000000"}, endedCopy()}, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        desktop.window(w).visible = false;
        const fs::path file = writeJournal(c.header, {hiddenRecord(w)});
        const std::string before = contents(file);
        replay();
        EXPECT_EQ(desktop.window(w).visible, c.applied);
        EXPECT_EQ(fs::exists(file), c.kept);
        if (c.kept) {
            EXPECT_EQ(contents(file), before);
        }
        fs::remove(file);
    }
}

TEST_F(JournalTest, ADamagedJournalIsSetAsideAndNothingOfItIsApplied)
{
    const WindowHandle w = add("Hidden");
    desktop.window(w).visible = false;
    build();
    const fs::path good = writeJournal({here, endedCopy()}, {hiddenRecord(w)});
    const std::string valid = contents(good);
    const ProcessStamp another{endedCopy().pid, endedCopy().started + 1};
    const fs::path renamed = folder / ("journal-" + std::to_string(another.pid) + '-' + std::to_string(another.started));
    const struct {
        const char *name;
        fs::path file;
        std::string text;
    } cases[] = {
        {"a damaged line after a good one", good, valid + "hidden 00000001 1 App - extra\n"},
        {"no journal at all", good, std::string("\0\x01garbage", 9)},
        {"a header naming another copy", renamed, valid},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(good);
        std::ofstream(c.file, std::ios::binary) << c.text;
        const std::vector<std::string> messages = replay();
        EXPECT_FALSE(desktop.window(w).visible);
        EXPECT_EQ(filesInFolder(), std::vector<std::string>{c.file.filename().string() + ".damaged"});
        EXPECT_EQ(contents(c.file.string() + ".damaged"), c.text);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("is damaged"), std::string::npos) << messages[0];
        fs::remove(c.file.string() + ".damaged");
    }
}

// Ids are reused: a window is put back only while it has the class and process it had.
TEST_F(JournalTest, AWindowWhoseIdNowBelongsToAnotherWindowIsLeftAlone)
{
    std::vector<WindowHandle> windows;
    for (const char *title : {"Same", "Other class", "Other process", "Gone"}) {
        FakeWindow fake;
        fake.title = title;
        fake.className = "App";
        fake.process = 7;
        fake.visible = false;
        windows.push_back(desktop.addWindow(fake));
    }
    build();
    std::vector<JournalRecord> records;
    for (WindowHandle w : windows)
        records.push_back(hiddenRecord(w));
    writeJournal({here, endedCopy()}, records);
    desktop.window(windows[1]).className = "Stranger";
    desktop.window(windows[2]).process = 8;
    desktop.removeWindow(windows[3]);

    const std::vector<std::string> messages = replay();
    std::vector<bool> shown;
    for (std::size_t i = 0; i < 3; ++i)
        shown.push_back(desktop.window(windows[i]).visible);
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(desktop.calls, (std::vector<FakeCall>{{"adoptShowState", windows[0]}, {"showWindow", windows[0]}}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("3 window(s)"), std::string::npos) << messages[0];
}

TEST_F(JournalTest, AChangeWhoseRecordCannotBeWrittenIsNotMade)
{
    const WindowHandle w = add("Target");
    build();
    std::ofstream(folder / "plain-file") << "x";
    keepJournal(endedCopy(), folder / "plain-file" / "below");

    for (WindowAction action : {WindowAction::Hide, WindowAction::MakeTopmost, WindowAction::MakeTransparent})
        actions.applyWindowAction(rowOf(w), action, false, ChangeKind(int(action)), true);
    EXPECT_EQ(desktop.calls, std::vector<FakeCall>());
    EXPECT_EQ(actions.changeRecords.count(), 0u);
}

// A disk that fills up halfway through a line: the line is taken back, so that the next
// record does not start in the middle of it.
TEST_F(JournalTest, AnAppendCutShortIsTakenBackAndItsChangeIsNotMade)
{
    const WindowHandle first = add("First");
    const WindowHandle second = add("Second");
    build();
    keepJournal();
    actions.applyWindowAction(rowOf(first), WindowAction::Hide, true, ChangeKind::Hidden, true);
    const std::string before = contents(journal->file());

    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit cut{rlim_t(before.size() + 10), limit.rlim_max};
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &cut), 0);
    desktop.calls.clear();
    actions.applyWindowAction(rowOf(second), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(desktop.calls, std::vector<FakeCall>());
    EXPECT_EQ(actions.changeRecords.count(), 1u);
    EXPECT_EQ(contents(journal->file()), before);

    actions.applyWindowAction(rowOf(second), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    std::string error;
    const std::optional<JournalContent> onDisk = parseJournal(contents(journal->file()), error);
    ASSERT_TRUE(onDisk) << error;
    EXPECT_EQ(onDisk->records, journal->records());
    EXPECT_EQ(onDisk->records.size(), 2u);
}

TEST_F(JournalTest, UndoingAChangeTakesOutItsRecordsAndUndoingAllLeavesNoJournal)
{
    const WindowHandle main = add("Main");
    const WindowHandle dialog = add("Dialog", "App", main);
    const WindowHandle other = add("Other", "Other");
    build();
    keepJournal();
    actions.applyWindowAction(rowOf(main), WindowAction::Hide, true, ChangeKind::Hidden, true);
    actions.applyWindowAction(rowOf(other), WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
    actions.transparencyPercent = 75;
    actions.applyWindowAction(rowOf(other), WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    const std::string before = contents(journal->file());
    actions.transparencyPercent = 40;
    actions.applyWindowAction(rowOf(other), WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
    EXPECT_EQ(contents(journal->file()), before) << "a second transparency has nothing new to put back";

    actions.applyWindowAction(0, WindowAction::Restore, true, ChangeKind::Hidden, true);  // "Show"
    const std::vector<JournalRecord> left{{ChangeKind::OnTop, other, 0, "Other", ""},
                                          {ChangeKind::Transparent, other, 0, "Other", ""}};
    EXPECT_EQ(journal->records(), left);
    EXPECT_EQ(contents(journal->file()),
              formatJournalHeader({here, endedCopy()}) + formatJournalRecord(left[0]) + formatJournalRecord(left[1]));
    EXPECT_TRUE(desktop.window(dialog).visible);

    actions.applyWindowAction(rowOf(main), WindowAction::Hide, true, ChangeKind::Hidden, true);
    EXPECT_EQ(journal->records().size(), 4u) << "appended after a rewrite";
    actions.undoAll();
    EXPECT_EQ(filesInFolder(), std::vector<std::string>());
    EXPECT_TRUE(journal->records().empty());
}


// Every way of undoing gives a window back the state it had before the first change, not
// a default one.
enum class UndoRoute { Record, DialogButton, UndoAll, Replay };

struct PriorStateCase {
    const char *name;
    WindowAction action;
    std::uint32_t mainStyle, dialogStyle;  // before anything is changed
    std::optional<std::uint8_t> mainAlpha;
    std::vector<int> percents;  // one action per percent (only the count matters for topmost)
};

class PriorStateTest : public JournalTest,
                       public ::testing::WithParamInterface<std::tuple<PriorStateCase, UndoRoute>> {};

TEST_P(PriorStateTest, UndoingGivesBackWhatTheWindowHadBefore)
{
    const auto &[c, route] = GetParam();
    const WindowHandle main = add("Main");
    const WindowHandle dialog = add("Dialog", "App", main);
    desktop.window(main).exStyle = c.mainStyle;
    desktop.window(main).alpha = c.mainAlpha;
    desktop.window(dialog).exStyle = c.dialogStyle;
    if (c.dialogStyle & exStyleLayered)
        desktop.window(dialog).alpha = 128;
    build();
    keepJournal();
    const FakeWindow mainBefore = desktop.window(main), dialogBefore = desktop.window(dialog);
    const auto kind = ChangeKind(int(c.action));
    for (int percent : c.percents) {
        actions.transparencyPercent = percent;
        actions.applyWindowAction(rowOf(main), c.action, true, kind, true);
        inventory.buildInventory();
    }
    ASSERT_EQ(actions.changeRecords.count(), 1u);

    switch (route) {
    case UndoRoute::Record: actions.applyWindowAction(0, WindowAction::Restore, false, ChangeKind::None, true); break;
    case UndoRoute::DialogButton: actions.applyWindowAction(rowOf(main), WindowAction::Restore, true, kind, true); break;
    case UndoRoute::UndoAll: actions.undoAll(); break;
    case UndoRoute::Replay:
        killCopy();
        ASSERT_EQ(replay().size(), 1u);
        break;
    }
    EXPECT_EQ(desktop.window(main).exStyle, mainBefore.exStyle);
    EXPECT_EQ(desktop.window(dialog).exStyle, dialogBefore.exStyle);
    if (mainBefore.exStyle & exStyleLayered)
        EXPECT_EQ(desktop.window(main).alpha, mainBefore.alpha);
    if (dialogBefore.exStyle & exStyleLayered)
        EXPECT_EQ(desktop.window(dialog).alpha, dialogBefore.alpha);
    EXPECT_EQ(actions.changeRecords.count(), route == UndoRoute::Replay ? 1u : 0u);
}

std::string priorStateName(const ::testing::TestParamInfo<PriorStateTest::ParamType> &info)
{
    const char *routes[] = {"record", "dialogButton", "undoAll", "replay"};
    return std::string(std::get<0>(info.param).name) + "_" + routes[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PriorStateTest,
    ::testing::Combine(
        ::testing::Values(
            PriorStateCase{"translucentAt70MadeAt40", WindowAction::MakeTransparent, exStyleLayered, 0, 178, {40}},
            PriorStateCase{"opaqueMadeAt75Then40", WindowAction::MakeTransparent, 0, 0, std::nullopt, {75, 40}},
            PriorStateCase{"translucentDialogOfAnOpaqueMain", WindowAction::MakeTransparent, 0, exStyleLayered,
                           std::nullopt, {40}},
            PriorStateCase{"alreadyOnTop", WindowAction::MakeTopmost, exStyleTopmost, 0, std::nullopt, {0, 0}},
            PriorStateCase{"notOnTop", WindowAction::MakeTopmost, 0, 0, std::nullopt, {0}},
            PriorStateCase{"dialogOnTopByItself", WindowAction::MakeTopmost, 0, exStyleTopmost, std::nullopt, {0}}),
        ::testing::Values(UndoRoute::Record, UndoRoute::DialogButton, UndoRoute::UndoAll, UndoRoute::Replay)),
    priorStateName);

} // namespace
