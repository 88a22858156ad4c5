#include "platform/RegistryStore.h"

#include "platform/AtomicFile.h"
#include "platform/Folders.h"

#include <fcntl.h>
#include <unistd.h>

#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t headerSize = 5;  // type, then the length in four bytes, low byte first
constexpr mode_t privateFileMode = 0600;  // a value may be the password
// Far beyond any value the program writes (the longest is the password); anything longer
// is damage, never read into memory.
constexpr std::size_t largestValueFile = 64 << 10;

fs::path userFolder()
{
    return configHome() / "panekeeper";
}

// A key or value name as a file name: none may climb out of the tree, hide as a dot file
// (as the temporary files do) or hold a zero byte, which would end the name early.
bool validName(const std::string &name)
{
    return !name.empty() && name[0] != '.' && name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

std::optional<fs::path> keyFolder(const fs::path &root, const std::string &path)
{
    fs::path folder = root;
    std::stringstream parts(path);
    std::string part;
    while (std::getline(parts, part, '\\')) {
        if (!validName(part))
            return std::nullopt;
        folder /= part;
    }
    return folder;
}

bool writable(const fs::path &folder)
{
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool isFolder(const fs::path &folder)
{
    std::error_code error;
    return fs::is_directory(folder, error);
}

// Creates the folder with the ones above it; true when it was not there before.
std::optional<bool> makeFolder(const fs::path &folder)
{
    const std::optional<bool> created = makePrivateFolder(folder);
    if (!created || !writable(folder))
        return std::nullopt;
    return created;
}

fs::path virtualFolder(const std::string &path)
{
    return *keyFolder(userFolder() / "VirtualStore" / "MACHINE", path);
}

// The user's copy of a machine-wide key, made from the machine-wide values when the key
// exists there.
std::optional<bool> makeVirtualCopy(const fs::path &machineKey, const fs::path &copy)
{
    const std::optional<bool> created = makeFolder(copy);
    if (!created || !*created || !isFolder(machineKey))
        return created;
    std::error_code error;
    for (const fs::directory_entry &value : fs::directory_iterator(machineKey, error)) {
        if (!value.is_regular_file(error) || !validName(value.path().filename().string()))
            continue;
        // The user's copy is theirs alone, whatever the machine-wide file allows.
        if (const std::optional<std::string> bytes = readSmallFile(value.path(), largestValueFile))
            writeFileAtomically(copy / value.path().filename(), *bytes, privateFileMode);
    }
    return false;
}

} // namespace

fs::path RegistryKey::rootFolder(RootKey root)
{
    if (root == RootKey::CurrentUser)
        return userFolder();
    const std::string machine = environmentValue("PANEKEEPER_MACHINE_STORE");
    return machine.empty() ? fs::path("/var/lib/panekeeper") : fs::path(machine);
}

std::optional<RegistryKey> RegistryKey::create(RootKey root, const std::string &path, Disposition *disposition)
{
    const std::optional<fs::path> folder = keyFolder(rootFolder(root), path);
    if (!folder)
        return std::nullopt;
    std::optional<bool> created;
    fs::path used = *folder;
    if (root == RootKey::LocalMachine && isFolder(virtualFolder(path))) {
        used = virtualFolder(path);
        created = makeFolder(used);
    } else {
        created = makeFolder(used);
        if (!created && root == RootKey::LocalMachine) {
            used = virtualFolder(path);
            created = makeVirtualCopy(*folder, used);
        }
    }
    if (!created)
        return std::nullopt;
    if (disposition)
        *disposition = *created ? Disposition::CreatedNew : Disposition::OpenedExisting;
    return RegistryKey(used, KeyAccess::All, root == RootKey::LocalMachine && used == *folder);
}

std::optional<RegistryKey> RegistryKey::open(RootKey root, const std::string &path, KeyAccess access)
{
    const std::optional<fs::path> folder = keyFolder(rootFolder(root), path);
    if (!folder)
        return std::nullopt;
    if (root == RootKey::LocalMachine && isFolder(virtualFolder(path)))
        return RegistryKey(virtualFolder(path), access);
    if (!isFolder(*folder))
        return std::nullopt;
    if (access == KeyAccess::Read || writable(*folder))
        return RegistryKey(*folder, access, root == RootKey::LocalMachine);
    if (root != RootKey::LocalMachine || !makeVirtualCopy(*folder, virtualFolder(path)))
        return std::nullopt;
    return RegistryKey(virtualFolder(path), access);
}

std::optional<std::pair<ValueType, std::string>> RegistryKey::read(const std::string &name) const
{
    if (!validName(name))
        return std::nullopt;
    const std::optional<std::string> file = readSmallFile(folder_ / name, largestValueFile);
    if (!file)
        return std::nullopt;
    const std::string &bytes = *file;
    if (bytes.size() < headerSize)
        return std::nullopt;
    const auto type = ValueType(std::uint8_t(bytes[0]));
    std::uint32_t length = 0;
    for (int i = 4; i >= 1; --i)
        length = (length << 8) | std::uint8_t(bytes[std::size_t(i)]);
    // A value whose length does not match its file was damaged: it counts as missing.
    if ((type != ValueType::String && type != ValueType::Binary) || bytes.size() - headerSize != length)
        return std::nullopt;
    return std::pair(type, bytes.substr(headerSize));
}

std::optional<std::string> RegistryKey::queryString(const std::string &name, std::size_t bufferSize) const
{
    std::optional<std::pair<ValueType, std::string>> value = read(name);
    if (!value || value->first != ValueType::String || bufferSize == 0)
        return std::nullopt;
    std::string &text = value->second;
    text = text.substr(0, text.find('\0'));
    if (text.size() > bufferSize - 1)
        text.resize(bufferSize - 1);
    return text;
}

std::optional<std::vector<std::uint8_t>> RegistryKey::queryBinary(const std::string &name, std::size_t bufferSize) const
{
    std::optional<std::pair<ValueType, std::string>> value = read(name);
    if (!value || value->first != ValueType::Binary)
        return std::nullopt;
    const std::string &bytes = value->second;
    return std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min(bytes.size(), bufferSize)));
}

bool RegistryKey::write(const std::string &name, ValueType type, const std::string &bytes)
{
    if (access_ != KeyAccess::All || !validName(name))
        return false;
    std::string content(headerSize, '\0');
    content[0] = char(type);
    for (int i = 0; i < 4; ++i)
        content[std::size_t(1 + i)] = char((bytes.size() >> (8 * i)) & 0xFF);
    content += bytes;
    return writeFileAtomically(folder_ / name, content, privateFileMode, keepModes_);
}

bool RegistryKey::setString(const std::string &name, const std::string &text)
{
    return write(name, ValueType::String, text + '\0');  // stored with its terminating zero
}

bool RegistryKey::setBinary(const std::string &name, const std::vector<std::uint8_t> &bytes)
{
    return write(name, ValueType::Binary, std::string(bytes.begin(), bytes.end()));
}

bool RegistryKey::deleteValue(const std::string &name)
{
    if (access_ != KeyAccess::All || !validName(name))
        return false;
    std::error_code error, ignored;
    fs::remove(folder_ / name, error);
    return !error || !fs::exists(folder_ / name, ignored);
}

bool RegistryKey::flush()
{
    return syncFolder(folder_);
}
