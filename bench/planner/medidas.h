#pragma once

// What the planner's benchmarks on Xvfb share: finding the program's windows and reading the
// CPU time it has used.

#include "XTestClient.h"

#include <sys/types.h>

#include <fstream>
#include <sstream>
#include <string>

namespace medidas {

// The shown top-level window with this title, or none.
inline xcb_window_t Janela(xtest::XClient &x, const std::string &titulo)
{
    for (xcb_window_t w : x.clientList())
        if (x.text(w, "_NET_WM_NAME") == titulo && x.viewable(w))
            return w;
    return XCB_NONE;
}

// User plus system time of a process, in clock ticks.
inline long TempoDeCpu(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string linha;
    std::getline(f, linha);
    std::istringstream campos(linha.substr(linha.rfind(')') + 2));
    std::string c;
    long tiques = 0;
    for (int i = 3; i <= 15 && campos >> c; ++i)
        if (i == 14 || i == 15)  // utime, stime
            tiques += std::stol(c);
    return tiques;
}

} // namespace medidas
