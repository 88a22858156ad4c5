#include "platform/Folders.h"

#include <cstdlib>

std::string environmentValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::filesystem::path configHome()
{
    const std::string config = environmentValue("XDG_CONFIG_HOME");
    return config.empty() ? std::filesystem::path(environmentValue("HOME")) / ".config" : std::filesystem::path(config);
}
