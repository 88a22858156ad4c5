#include "WindowEntry.h"

#include <cstdio>

std::string formatProcessId(ProcessId process)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.8X", unsigned(process));
    return text;
}

std::string formatOpacity(int percent)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", percent);
    return text;
}
