// Time of one inventory of a desktop of 200 windows on Xvfb + openbox (a refresh, and the
// first one of a new connection), beside the time of one `wmctrl -l -p -x` run on the
// same desktop.
#include "SystemFacts.h"
#include "WindowInventory.h"
#include "platform/x11/X11WindowSystem.h"

#include "XTestClient.h"
#include "XTestProgram.h"
#include "XTestServer.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <iostream>
#include <memory>

namespace {

constexpr int windowCount = 200;

xtest::XServer *server = nullptr;

void buildInventory(benchmark::State &state, bool grouping)
{
    X11WindowSystem system(server->display().c_str());
    const SystemFacts facts = readSystemFacts(system);
    WindowInventory inventory(system, facts);
    inventory.groupChildWindows = grouping;
    for (auto _ : state)
        inventory.buildInventory();
    state.counters["listed"] = inventory.listedWindows.count();
    state.counters["all"] = inventory.allWindows.count();
}

void BM_BuildInventoryGrouped(benchmark::State &state) { buildInventory(state, true); }
void BM_BuildInventoryUngrouped(benchmark::State &state) { buildInventory(state, false); }

// The first inventory of a new connection, which reads every window's properties.
void BM_FirstInventory(benchmark::State &state)
{
    for (auto _ : state) {
        X11WindowSystem system(server->display().c_str());
        const SystemFacts facts = readSystemFacts(system);
        WindowInventory inventory(system, facts);
        inventory.buildInventory();
    }
}

void BM_WmctrlList(benchmark::State &state)
{
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    for (auto _ : state) {
        xtest::ChildProcess wmctrl = xtest::spawnProgram({"wmctrl", "-l", "-p", "-x"},
                                                         {"DISPLAY=" + server->display()}, {{null, 1}});
        if (!wmctrl.waitForExit(std::chrono::seconds(10)))
            state.SkipWithError("wmctrl did not finish");
    }
    ::close(null);
}

BENCHMARK(BM_BuildInventoryGrouped)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BuildInventoryUngrouped)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FirstInventory)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_WmctrlList)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    try {
        xtest::XServer desktop;
        server = &desktop;
        xtest::XClient client(desktop.display());
        // A desktop like a busy one: a few other programs, main windows with dialogs,
        // some always on top, some translucent.
        std::vector<std::unique_ptr<xtest::XProgram>> programs;
        for (int i = 0; i < 5; ++i)
            programs.push_back(std::make_unique<xtest::XProgram>(desktop.display(), "Program" + std::to_string(i),
                                                                 "Program " + std::to_string(i)));
        xcb_window_t lastMain = XCB_NONE;
        for (int i = static_cast<int>(programs.size()); i < windowCount; ++i) {
            xtest::WindowSpec windowSpec;
            windowSpec.title = "Window " + std::to_string(i);
            windowSpec.pid = std::uint32_t(::getpid());
            windowSpec.width = 120;
            windowSpec.height = 80;
            if (i % 5 == 1)
                windowSpec.transientFor = lastMain;
            if (i % 20 == 2)
                windowSpec.states = {"_NET_WM_STATE_ABOVE"};
            if (i % 20 == 3)
                windowSpec.opacity = 0xC0000000;
            const xcb_window_t w = client.openWindow(windowSpec);
            if (i % 5 == 0)
                lastMain = w;
        }
        std::cerr << "desktop " << desktop.display() << ": " << client.clientList().size() << " managed windows\n";
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception &e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
