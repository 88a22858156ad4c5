#include "SystemFacts.h"

SystemFacts readSystemFacts(WindowSystem &system)
{
    const std::uint32_t v = system.version();
    SystemFacts facts;
    facts.osMajor = int(v & 0xFF);
    facts.osMinor = int((v >> 8) & 0xFF);
    facts.isWin9x = (v & 0x80000000u) != 0;
    if (!facts.isWin9x)
        facts.functions = system.availableFunctions();
    return facts;
}
