#include "shell/Settings.h"

#include "platform/Autostart.h"
#include "platform/RegistryStore.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

namespace {

constexpr std::size_t runValueBuffer = 260;
constexpr std::size_t percentBuffer = 4;  // "100" and its zero

struct FlagValue {
    const char *name;
    bool ProtectionFlags::*flag;
};
constexpr FlagValue flagValues[] = {
    {"3", &ProtectionFlags::protectHide},
    {"4", &ProtectionFlags::protectOnTop},
    {"5", &ProtectionFlags::protectTransparent},
    {"6", &ProtectionFlags::protectRestoreHidden},
    {"7", &ProtectionFlags::protectRestoreOnTop},
    {"8", &ProtectionFlags::protectRestoreTransparent},
    {"9", &ProtectionFlags::protectExit},
};

std::optional<bool> readFlag(const RegistryKey &key, const char *name)
{
    std::optional<std::vector<std::uint8_t>> bytes = key.queryBinary(name, 1);
    if (!bytes || bytes->empty())
        return std::nullopt;
    return (*bytes)[0] != 0;
}

// Keeps at most the given number of UTF-8 characters.
std::string limitCharacters(std::string text, std::size_t characters)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++seen > characters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

bool writeAll(RegistryKey &key, const SettingsValues &values)
{
    char percent[16];
    std::snprintf(percent, sizeof percent, "%i", values.defaultTransparency);
    bool ok = key.setBinary("1", {std::uint8_t(values.groupByDefault)});
    ok = key.setString("2", percent) && ok;
    for (const FlagValue &f : flagValues)
        ok = key.setBinary(f.name, {std::uint8_t(values.protection.*f.flag)}) && ok;
    ok = key.setString("10", values.storedPassword) && ok;
    return key.flush() && ok;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

} // namespace

void createDefaultSettings()
{
    RegistryKey::Disposition disposition{};
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, settingsKeyPath, &disposition);
    if (!key)
        return;
    if (disposition == RegistryKey::Disposition::CreatedNew)
        writeAll(*key, SettingsValues());
    key->flush();
}

void readSettings(SettingsValues &values)
{
    std::optional<RegistryKey> key = RegistryKey::open(RootKey::LocalMachine, settingsKeyPath, KeyAccess::All);
    if (!key)
        return;
    if (std::optional<bool> group = readFlag(*key, "1"))
        values.groupByDefault = *group;
    if (std::optional<std::string> text = key->queryString("2", percentBuffer)) {
        int percent = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), percent);
        if (error == std::errc() && end == text->data() + text->size() && percent >= 0 && percent <= 100)
            values.defaultTransparency = percent;
    }
    for (const FlagValue &f : flagValues) {
        if (std::optional<bool> on = readFlag(*key, f.name))
            values.protection.*f.flag = *on;
    }
    // Room for every character of the longest password in UTF-8.
    if (std::optional<std::string> password = key->queryString("10", maxPasswordLength * 4 + 1))
        values.storedPassword = limitCharacters(*password, maxPasswordLength);
    key->flush();
}

bool writeSettings(const SettingsValues &values)
{
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, settingsKeyPath);
    if (!key)
        return false;
    return writeAll(*key, values);
}

StartupMode readStartupMode()
{
    const std::string name = upper(std::filesystem::path(programPath()).stem().string());
    const std::string allUsers = upper(readRunValue(RunScope::AllUsers, runValueBuffer));
    const std::string currentUser = upper(readRunValue(RunScope::CurrentUser, runValueBuffer));
    if (name.empty())
        return DoNotStart;
    if (allUsers.find(name) != std::string::npos)
        return StartForAllUsers;
    if (currentUser.find(name) != std::string::npos)
        return StartForCurrentUser;
    return DoNotStart;
}

std::string writeStartupMode(StartupMode mode)
{
    const std::string path = programPath();
    std::string failed;
    auto note = [&](bool ok, RunScope scope) {
        if (!ok && failed.empty())
            failed = autostartEntry(scope).string();
    };
    switch (mode) {
    case StartForAllUsers:
        note(deleteRunValue(RunScope::CurrentUser), RunScope::CurrentUser);
        note(setRunValue(RunScope::AllUsers, path), RunScope::AllUsers);
        break;
    case StartForCurrentUser:
        note(deleteRunValue(RunScope::AllUsers), RunScope::AllUsers);
        note(setRunValue(RunScope::CurrentUser, path), RunScope::CurrentUser);
        break;
    case DoNotStart:
        note(deleteRunValue(RunScope::CurrentUser), RunScope::CurrentUser);
        note(deleteRunValue(RunScope::AllUsers), RunScope::AllUsers);
        break;
    }
    return failed;
}
