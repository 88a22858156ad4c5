#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

bool writeFileAtomically(const std::filesystem::path &file, std::string_view bytes, mode_t mode, bool keepMode)
{
    struct stat existing {};
    if (keepMode && ::stat(file.c_str(), &existing) == 0)
        mode = existing.st_mode & 07777;
    // A short fixed name: the file's own name may already be as long as a name can be.
    // Value names never begin with a dot, so the temporary never meets one of them.
    std::string temporary = (file.parent_path() / ".pk-XXXXXX").string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? std::size_t(n) : 0;
    }
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), file.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

bool syncFolder(const std::filesystem::path &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::optional<bool> makePrivateFolder(const std::filesystem::path &folder)
{
    std::filesystem::path path;
    bool created = false;
    for (const std::filesystem::path &part : folder) {
        path /= part;
        created = ::mkdir(path.c_str(), 0700) == 0;
        if (!created && errno != EEXIST)
            return std::nullopt;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return std::nullopt;
    return created;
}

std::optional<std::string> readSmallFile(const std::filesystem::path &file, std::size_t limit)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && std::uint64_t(info.st_size) <= limit) {
        bytes.emplace();
        char buffer[4096];
        ssize_t n = 0;
        // A file that grows while it is read is cut at one byte past the limit.
        while (bytes->size() <= limit && (n = ::read(fd, buffer, sizeof buffer)) > 0)
            bytes->append(buffer, std::size_t(n));
        if (n < 0 || bytes->size() > limit)
            bytes.reset();
    }
    ::close(fd);
    return bytes;
}
