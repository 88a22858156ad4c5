#include "platform/ExitHook.h"

#include <cstdlib>
#include <utility>

namespace {

std::function<void()> *installed = nullptr;

void runInstalled()
{
    if (std::function<void()> *work = std::exchange(installed, nullptr))
        (*work)();
}

} // namespace

ExitHook::ExitHook(std::function<void()> work) : work_(std::move(work))
{
    static const bool registered = std::atexit(runInstalled) == 0;
    (void)registered;
    installed = &work_;
}

ExitHook::~ExitHook()
{
    if (installed == &work_)
        installed = nullptr;
}
