#include "ProcessImage.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

std::optional<std::string> processExecutable(pid_t process)
{
    constexpr std::string_view deletedMark = " (deleted)";
    char buffer[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(process) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (length <= 0 || std::size_t(length) >= sizeof buffer)
        return std::nullopt;
    std::string path(buffer, std::size_t(length));
    // A file whose own name ends so is still there under that name.
    struct stat info {};
    if (path.ends_with(deletedMark) && ::lstat(path.c_str(), &info) != 0)
        path.resize(path.size() - deletedMark.size());
    return path;
}
