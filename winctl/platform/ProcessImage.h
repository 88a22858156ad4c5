#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

// The path of the executable a process runs, as /proc/PID/exe names it. A file replaced or
// removed while it runs (a package upgrade) is named with " (deleted)" after its path; the
// path it was started from is given without it. Empty when the process cannot be read.
std::optional<std::string> processExecutable(pid_t process);
