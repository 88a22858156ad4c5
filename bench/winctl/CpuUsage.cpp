// CPU time and wake-ups of the running program: first hidden in the tray of an idle
// desktop, then with its dialog open over 200 windows. Each phase lasts the given number
// of seconds (default 60). Measured, never judged: the figures are printed.
//
//   winctl_cpu_usage [seconds]
#include "XTestClient.h"
#include "XTestServer.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace std::chrono;

struct Usage {
    double cpuSeconds = 0;
    long wakeUps = 0;  // voluntary context switches: the times the program went to sleep and woke again
};

Usage usage(pid_t pid)
{
    Usage u;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which ends with the last ')': utime and stime are 14 and 15.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14 || i == 15)
            ticks += std::stol(field);
    }
    u.cpuSeconds = double(ticks) / double(sysconf(_SC_CLK_TCK));
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    while (std::getline(status, line)) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            u.wakeUps = std::stol(line.substr(line.find(':') + 1));
    }
    return u;
}

void measure(const char *phase, pid_t pid, int seconds)
{
    const Usage before = usage(pid);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));  // the measured span itself
    const Usage after = usage(pid);
    const double cpu = after.cpuSeconds - before.cpuSeconds;
    std::printf("%-40s cpu %.2f s in %d s (%.2f %%), wake-ups %ld (%.1f/s)\n", phase, cpu, seconds,
                100.0 * cpu / seconds, after.wakeUps - before.wakeUps, double(after.wakeUps - before.wakeUps) / seconds);
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? std::stoi(argv[1]) : 60;
    char folder[] = "/tmp/winctl-cpu-XXXXXX";
    if (!::mkdtemp(folder))
        return 1;
    const std::string home = folder;
    xtest::XServer server;
    const std::string display = "DISPLAY=" + server.display();
    const std::vector<std::string> environment{display, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + home,
                                               "PANEKEEPER_MACHINE_STORE=" + home + "/machine",
                                               "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent"};
    xtest::ChildProcess tray = xtest::spawnProgram({"trayer", "--edge", "bottom", "--align", "right"}, {display});
    xtest::XClient client(server.display());
    if (!client.waitUntil([&] { return client.selectionOwner("_NET_SYSTEM_TRAY_S0") != XCB_NONE; }))
        std::cerr << "no tray: the program shows its dialog instead\n";

    xtest::ChildProcess keeper = xtest::spawnProgram({PANEKEEPER_PROGRAM}, environment);
    std::this_thread::sleep_for(2s);  // settling after the start is not part of the measure
    measure("hidden in the tray, idle desktop", keeper.pid(), seconds);

    for (int i = 0; i < 200; ++i) {
        xtest::WindowSpec windowSpec;
        windowSpec.title = "Window " + std::to_string(i);
        windowSpec.pid = std::uint32_t(::getpid());
        client.openWindow(windowSpec);
    }
    measure("hidden in the tray, 200 windows", keeper.pid(), seconds);

    xtest::ChildProcess second = xtest::spawnProgram({PANEKEEPER_PROGRAM}, environment);
    second.waitForExit(20s);
    std::this_thread::sleep_for(1s);
    measure("dialog open, 200 windows", keeper.pid(), seconds);

    keeper.stop();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return 0;
}
