#pragma once

#include <filesystem>
#include <string>

// The value of an environment variable, empty when it is not set.
std::string environmentValue(const char *name);
// The user's configuration folder: $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path configHome();
