// What the change journal adds to a change and to its undoing: a hide and a show of one
// window on the in-memory desktop, without a journal and with one in a memory-backed
// folder (as $XDG_RUNTIME_DIR is) and in a folder on the disk. The show is timed with
// 0 and with 200 other changes in the journal, as its undoing writes the journal anew.
#include "ChangeJournal.h"
#include "SystemFacts.h"
#include "WindowActions.h"
#include "WindowInventory.h"
#include "platform/fake/FakeDesktop.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

namespace fs = std::filesystem;

enum Where { NoJournal, InMemory, OnDisk };

fs::path makeFolder(Where where)
{
    // /dev/shm is a tmpfs as the runtime folder is; the build folder lies on the disk.
    const fs::path base = where == InMemory ? fs::path("/dev/shm") : fs::current_path();
    std::string name = (base / "winctl-journal-bench-XXXXXX").string();
    if (!::mkdtemp(name.data()))
        throw std::runtime_error("cannot make a folder in " + base.string());
    return name;
}

struct Setup {
    FakeDesktop desktop;
    SystemFacts facts;
    WindowInventory inventory{desktop, facts};
    WindowActions actions{inventory};
    fs::path folder;
    std::unique_ptr<ChangeJournal> journal;

    Setup(Where where, int otherChanges)
    {
        for (int i = 0; i <= otherChanges; ++i)
            desktop.addWindow("Window " + std::to_string(i), "BenchApp");
        facts = readSystemFacts(desktop);
        inventory.buildInventory();
        if (where != NoJournal) {
            folder = makeFolder(where);
            journal = std::make_unique<ChangeJournal>(folder, JournalHeader{{":0", "0123456789abcdef"}, thisProcess()});
            actions.journal = journal.get();
        }
        // The other windows are made topmost, so their records stay in the journal.
        for (int i = 1; i <= otherChanges; ++i)
            actions.applyWindowAction(std::uint32_t(i), WindowAction::MakeTopmost, false, ChangeKind::OnTop, false);
    }
    ~Setup()
    {
        actions.undoAll();
        if (!folder.empty())
            fs::remove_all(folder);
    }
};

void hideAndShow(benchmark::State &state, Where where, bool timeHide)
{
    Setup s(where, int(state.range(0)));
    const WindowHandle window = s.inventory.listedWindows[0].hwnd;
    for (auto _ : state) {
        if (!timeHide)
            state.PauseTiming();
        s.actions.applyWindowAction(0, WindowAction::Hide, false, ChangeKind::Hidden, false);
        if (!timeHide)
            state.ResumeTiming();
        else
            state.PauseTiming();
        s.actions.applyWindowAction(0, WindowAction::Restore, true, ChangeKind::Hidden, false);  // "Show"
        // The hide takes the window off the list; the next one needs it back there.
        s.inventory.buildInventory();
        if (timeHide)
            state.ResumeTiming();
        if (s.inventory.listedWindows[0].hwnd != window)
            state.SkipWithError("the window is not at the top");
    }
}

void BM_Hide_NoJournal(benchmark::State &state) { hideAndShow(state, NoJournal, true); }
void BM_Hide_InMemory(benchmark::State &state) { hideAndShow(state, InMemory, true); }
void BM_Hide_OnDisk(benchmark::State &state) { hideAndShow(state, OnDisk, true); }
void BM_Show_NoJournal(benchmark::State &state) { hideAndShow(state, NoJournal, false); }
void BM_Show_InMemory(benchmark::State &state) { hideAndShow(state, InMemory, false); }
void BM_Show_OnDisk(benchmark::State &state) { hideAndShow(state, OnDisk, false); }

BENCHMARK(BM_Hide_NoJournal)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hide_InMemory)->Arg(0)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hide_OnDisk)->Arg(0)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Show_NoJournal)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Show_InMemory)->Arg(0)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Show_OnDisk)->Arg(0)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    std::cout << "journal folders: in memory /dev/shm, on the disk " << fs::current_path().string() << "\n";
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
