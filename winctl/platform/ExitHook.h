#pragma once

#include <functional>

// Work done when the process ends through exit() while the object lives. Qt's X11
// platform ends the program that way, past all of the program's own handlers, when its
// connection to the X server breaks (a client killed from outside).
class ExitHook {
public:
    explicit ExitHook(std::function<void()> work);
    ~ExitHook();
    ExitHook(const ExitHook &) = delete;
    ExitHook &operator=(const ExitHook &) = delete;

private:
    std::function<void()> work_;
};
