#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The registry as a tree of folders: each key is a folder, each value a file holding its
// type, its length and its bytes. HKEY_LOCAL_MACHINE lives in a machine-wide folder
// ($PANEKEEPER_MACHINE_STORE, else /var/lib/panekeeper) and HKEY_CURRENT_USER in
// $XDG_CONFIG_HOME/panekeeper (else ~/.config/panekeeper).
//
// A machine-wide key the user cannot write is kept for that user in a copy of their own,
// VirtualStore/MACHINE/<key path> in the user's folder, as legacy programs' keys are on
// the original platform: a full-access open or create makes the copy (from the
// machine-wide values, when the key exists) and from then on that user reads and writes
// the copy only; a read-only open reads the copy when there is one, else the
// machine-wide key.
//
// The store's folders are made open to their owner only and its value files readable
// by their owner only, as a value may be the password. In the machine-wide store, a
// value written again keeps the permissions its administrator gave its file.

enum class RootKey { LocalMachine, CurrentUser };
enum class KeyAccess { Read, All };
enum class ValueType : std::uint8_t { String = 1, Binary = 3 };

class RegistryKey {
public:
    enum class Disposition { CreatedNew, OpenedExisting };

    static std::filesystem::path rootFolder(RootKey root);

    // Opens the key for full access, creating it (and the keys above it) when missing.
    static std::optional<RegistryKey> create(RootKey root, const std::string &path, Disposition *disposition = nullptr);
    // Opens an existing key; full access fails where the key cannot be written.
    static std::optional<RegistryKey> open(RootKey root, const std::string &path, KeyAccess access);

    // A string value without its terminating zero, cut to fit a buffer of bufferSize bytes
    // with that zero. Empty when the value is missing, damaged or of another type.
    std::optional<std::string> queryString(const std::string &name, std::size_t bufferSize) const;
    // A binary value of at most bufferSize bytes (a longer one is cut).
    std::optional<std::vector<std::uint8_t>> queryBinary(const std::string &name, std::size_t bufferSize) const;

    bool setString(const std::string &name, const std::string &text);
    bool setBinary(const std::string &name, const std::vector<std::uint8_t> &bytes);
    // True when the value is gone afterwards, also when it was never there.
    bool deleteValue(const std::string &name);
    bool flush();

    const std::filesystem::path &folder() const { return folder_; }

private:
    RegistryKey(std::filesystem::path folder, KeyAccess access, bool keepModes = false)
        : folder_(std::move(folder)), access_(access), keepModes_(keepModes)
    {
    }
    std::optional<std::pair<ValueType, std::string>> read(const std::string &name) const;
    bool write(const std::string &name, ValueType type, const std::string &bytes);

    std::filesystem::path folder_;
    KeyAccess access_;
    bool keepModes_;  // a machine-wide key: its files keep the modes they were given
};
