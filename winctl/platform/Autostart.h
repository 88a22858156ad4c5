#pragma once

#include <filesystem>
#include <string>

// The program's start with the session, as XDG autostart entries named PaneKeeper.desktop:
// for all users in the system's autostart folder ($PANEKEEPER_SYSTEM_AUTOSTART, else
// /etc/xdg/autostart), for the current user in $XDG_CONFIG_HOME/autostart. The entry's
// command is the registered text.

enum class RunScope { AllUsers, CurrentUser };

std::filesystem::path autostartEntry(RunScope scope);
// The registered command, cut to fit a buffer of bufferSize bytes; empty when none is.
std::string readRunValue(RunScope scope, std::size_t bufferSize);
bool setRunValue(RunScope scope, const std::string &command);
// True when no entry is left, also when there was none.
bool deleteRunValue(RunScope scope);

// The running program's own executable, wherever it was started from.
std::string programPath();
