// The file-backed registry, the autostart entries and the settings kept in them, on
// real files in temporary folders.
#include "StoreFixture.h"

#include "platform/Autostart.h"
#include "platform/ProcessImage.h"
#include "platform/RegistryStore.h"
#include "shell/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string keyPath = settingsKeyPath;

fs::path settingsFolder(const fs::path &root)
{
    return root / "SOFTWARE" / "Norvane" / "Kesto@Utilities" / "PaneKeeper";
}

class RegistryStoreTest : public StoreFixture {};

TEST_F(RegistryStoreTest, CreateTellsWhetherTheKeyIsNewAndValuesComeBackAsWritten)
{
    RegistryKey::Disposition disposition{};
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, keyPath, &disposition);
    ASSERT_TRUE(key);
    EXPECT_EQ(disposition, RegistryKey::Disposition::CreatedNew);
    EXPECT_EQ(key->folder(), settingsFolder(machine));
    ASSERT_TRUE(key->setString("2", "75"));
    ASSERT_TRUE(key->setBinary("1", {1}));
    ASSERT_TRUE(key->setString("10", ""));
    EXPECT_TRUE(key->flush());

    ASSERT_TRUE(RegistryKey::create(RootKey::LocalMachine, keyPath, &disposition));
    EXPECT_EQ(disposition, RegistryKey::Disposition::OpenedExisting);
    std::optional<RegistryKey> reading = RegistryKey::open(RootKey::LocalMachine, keyPath, KeyAccess::Read);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->queryString("2", 4), "75");
    EXPECT_EQ(reading->queryBinary("1", 1), std::vector<std::uint8_t>{1});
    EXPECT_EQ(reading->queryString("10", 256), "");
    EXPECT_FALSE(reading->queryString("1", 16)) << "a binary value is no string";
    EXPECT_FALSE(reading->queryString("missing", 16));
    EXPECT_FALSE(reading->setString("2", "50")) << "a key opened for reading cannot be written";
    // Strings are stored with their terminating zero.
    EXPECT_EQ(contents(settingsFolder(machine) / "2"), std::string("\x01\x03\x00\x00\x00" "75\0", 8));
}

TEST_F(RegistryStoreTest, TheUsersKeysLiveInTheConfigurationFolder)
{
    ASSERT_TRUE(RegistryKey::create(RootKey::CurrentUser, "Software\\Test"));
    EXPECT_TRUE(fs::is_directory(config / "panekeeper" / "Software" / "Test"));
    EXPECT_FALSE(RegistryKey::open(RootKey::CurrentUser, "Software\\Other", KeyAccess::Read));
}

TEST_F(RegistryStoreTest, DamagedValuesReadAsMissing)
{
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, keyPath);
    ASSERT_TRUE(key);
    const fs::path folder = settingsFolder(machine);
    const struct {
        const char *what;
        std::string bytes;
    } damaged[] = {
        {"empty file", ""},
        {"header cut short", std::string("\x01\x03\x00", 3)},
        {"value cut short", std::string("\x01\x09\x00\x00\x00" "sec", 8)},
        {"trailing bytes", std::string("\x01\x01\x00\x00\x00" "ab", 7)},
        {"unknown type", std::string("\x07\x01\x00\x00\x00" "a", 6)},
        {"huge length", std::string("\x01\xff\xff\xff\xff" "a", 6)},
    };
    for (const auto &d : damaged) {
        write(folder / "10", d.bytes);
        EXPECT_FALSE(key->queryString("10", 256)) << d.what;
        EXPECT_FALSE(key->queryBinary("10", 256)) << d.what;
    }
}

TEST_F(RegistryStoreTest, TextsLongerThanTheBufferAreCut)
{
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, keyPath);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setString("2", "1000"));
    EXPECT_EQ(key->queryString("2", 4), "100");
    ASSERT_TRUE(key->setString("10", std::string(5000, 'p')));
    EXPECT_EQ(key->queryString("10", 256)->size(), 255u);
    ASSERT_TRUE(key->setBinary("1", {1, 2, 3}));
    EXPECT_EQ(key->queryBinary("1", 1), std::vector<std::uint8_t>{1});
}

TEST_F(RegistryStoreTest, NamesCannotReachOutOfTheStore)
{
    for (const char *path : {"SOFTWARE\\..\\..\\etc", "SOFTWARE\\a/b", "SOFTWARE\\\\x", ".hidden"})
        EXPECT_FALSE(RegistryKey::create(RootKey::LocalMachine, path)) << path;
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, keyPath);
    ASSERT_TRUE(key);
    for (const char *name : {"../escape", ".tmp", "a/b", ""})
        EXPECT_FALSE(key->setString(name, "x")) << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(settingsFolder(machine)), fs::directory_iterator()), 0);
}

TEST_F(RegistryStoreTest, WritesLeaveNoTemporaryFilesBehind)
{
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, keyPath);
    ASSERT_TRUE(key);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(key->setString("2", std::to_string(i)));
    ASSERT_TRUE(key->deleteValue("missing"));
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(settingsFolder(machine)))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"2"});
    EXPECT_EQ(key->queryString("2", 4), "2");
}

// A machine-wide folder that cannot be written: the user gets a key of their own,
// started from the machine-wide values when there are any.
TEST_F(RegistryStoreTest, AnUnwritableMachineKeyIsKeptInTheUsersVirtualStore)
{
    const fs::path virtualKey = settingsFolder(config / "panekeeper" / "VirtualStore" / "MACHINE");
    ::setenv("PANEKEEPER_MACHINE_STORE", unreachable().c_str(), 1);
    RegistryKey::Disposition disposition{};
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, keyPath, &disposition);
    ASSERT_TRUE(key);
    EXPECT_EQ(disposition, RegistryKey::Disposition::CreatedNew);
    EXPECT_EQ(key->folder(), virtualKey);
    ASSERT_TRUE(key->setString("2", "40"));
    std::optional<RegistryKey> again = RegistryKey::open(RootKey::LocalMachine, keyPath, KeyAccess::All);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->queryString("2", 4), "40");
}

TEST_F(RegistryStoreTest, AVirtualCopyStartsFromTheMachineWideValues)
{
    ASSERT_TRUE(RegistryKey::create(RootKey::LocalMachine, keyPath)->setString("2", "60"));
    const fs::path virtualKey = settingsFolder(config / "panekeeper" / "VirtualStore" / "MACHINE");
    // The copy is what the user's program reads and writes from then on.
    fs::create_directories(virtualKey);
    write(virtualKey / "2", std::string("\x01\x03\x00\x00\x00" "33\0", 8));
    std::optional<RegistryKey> key = RegistryKey::open(RootKey::LocalMachine, keyPath, KeyAccess::Read);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->queryString("2", 4), "33");
}

// A zero byte would end the file name early: "10\0x" would be the value "10".
TEST_F(RegistryStoreTest, NamesWithAZeroByteAreRefusedAndNamesUpToTheFileNameLimitWork)
{
    std::optional<RegistryKey> key = RegistryKey::create(RootKey::LocalMachine, keyPath);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setString("10", "Secret"));
    const std::string withZero("10\0x", 4);
    EXPECT_FALSE(key->deleteValue(withZero));
    EXPECT_FALSE(key->setString(withZero, "other"));
    EXPECT_FALSE(key->queryString(withZero, 256));
    EXPECT_EQ(key->queryString("10", 256), "Secret");
    EXPECT_FALSE(RegistryKey::create(RootKey::LocalMachine, std::string("SOFTWARE\0x\\Key", 14)));

    for (std::size_t length : {248u, 251u, 255u}) {
        const std::string name(length, 'v');
        EXPECT_TRUE(key->setString(name, "long")) << length;
        EXPECT_EQ(key->queryString(name, 16), "long") << length;
        EXPECT_TRUE(key->deleteValue(name)) << length;
    }
    EXPECT_FALSE(key->setString(std::string(256, 'v'), "too long")) << "no file name is that long";
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(settingsFolder(machine)))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"10"});
}

// A value may be the password: the store's files are for their owner's eyes only.
TEST_F(RegistryStoreTest, TheStoreIsOpenToItsOwnerOnlyAndKeepsTheAdministratorsModes)
{
    auto mode = [](const fs::path &p) {
        struct stat s {};
        return ::stat(p.c_str(), &s) == 0 ? int(s.st_mode & 07777) : -1;
    };
    createDefaultSettings();
    ASSERT_TRUE(RegistryKey::create(RootKey::CurrentUser, "Software\\Test")->setString("v", "x"));
    for (const fs::path &root : {machine, config / "panekeeper"}) {
        EXPECT_EQ(mode(root), 0700) << root;
        for (const fs::directory_entry &e : fs::recursive_directory_iterator(root))
            EXPECT_EQ(mode(e.path()), e.is_directory() ? 0700 : 0600) << e.path();
    }

    // What the administrator opened stays open when the program writes the key again.
    const fs::path folder = settingsFolder(machine);
    fs::permissions(folder, fs::perms(0750));
    fs::permissions(folder / "2", fs::perms(0640));
    SettingsValues values;
    values.defaultTransparency = 40;
    ASSERT_TRUE(writeSettings(values));
    EXPECT_EQ(mode(folder), 0750);
    EXPECT_EQ(mode(folder / "2"), 0640);
    EXPECT_EQ(mode(folder / "10"), 0600);
}

class AutostartTest : public StoreFixture {};

TEST_F(AutostartTest, EntriesHoldTheCommandAndGiveItBack)
{
    const std::string commands[] = {"/opt/pane keeper/bin/panekeeper", "/usr/bin/panekeeper",
                                    "/tmp/odd \"quoted\" $dir\\panekeeper"};
    for (const std::string &command : commands) {
        ASSERT_TRUE(setRunValue(RunScope::CurrentUser, command));
        EXPECT_EQ(readRunValue(RunScope::CurrentUser, 260), command);
    }
    EXPECT_EQ(autostartEntry(RunScope::CurrentUser), config / "autostart" / "PaneKeeper.desktop");
    EXPECT_EQ(autostartEntry(RunScope::AllUsers), systemAutostart / "PaneKeeper.desktop");
    const std::string entry = contents(autostartEntry(RunScope::CurrentUser));
    EXPECT_NE(entry.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_EQ(readRunValue(RunScope::AllUsers, 260), "");
    ASSERT_TRUE(setRunValue(RunScope::AllUsers, std::string(400, 'x')));
    EXPECT_EQ(readRunValue(RunScope::AllUsers, 260).size(), 259u);
    EXPECT_TRUE(deleteRunValue(RunScope::AllUsers));
    EXPECT_TRUE(deleteRunValue(RunScope::AllUsers)) << "nothing left to delete is no failure";
}

TEST_F(AutostartTest, ExecIsQuotedAndEscapedAsTheDesktopEntryFormatSays)
{
    const struct {
        std::string command, exec;
    } cases[] = {
        {"/usr/bin/panekeeper", "/usr/bin/panekeeper"},
        {"/opt/100%/panekeeper", "/opt/100%%/panekeeper"},
        {"/opt/pane keeper/panekeeper", R"("/opt/pane keeper/panekeeper")"},
        {"/tmp/a;b&c|d(1)>2<3~*?#'/panekeeper", R"("/tmp/a;b&c|d(1)>2<3~*?#'/panekeeper")"},
        {"/tmp/odd \"q\" $d`x`\\p", R"("/tmp/odd \\"q\\" \\$d\\`x\\`\\\\p")"},
        {"/tmp/new\nline\tand 50%", R"("/tmp/new\nline\tand 50%%")"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(setRunValue(RunScope::CurrentUser, c.command));
        EXPECT_NE(contents(autostartEntry(RunScope::CurrentUser)).find("\nExec=" + c.exec + "\n"), std::string::npos)
            << c.exec;
        EXPECT_EQ(readRunValue(RunScope::CurrentUser, 260), c.command);
    }
    // Entries of other programs: blanks around "=", and arguments after the program.
    write(autostartEntry(RunScope::AllUsers), "[Desktop Entry]\nExec = \"/opt/my apps/panekeeper\" --tray %%U\n");
    EXPECT_EQ(readRunValue(RunScope::AllUsers, 260), "/opt/my apps/panekeeper --tray %U");
}

TEST_F(AutostartTest, TheProgramPathIsTheRealExecutable)
{
    const fs::path path = programPath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_TRUE(fs::equivalent(path, "/proc/self/exe"));
}

// A program whose file is removed or replaced while it runs (a package upgrade) is still
// named by the path it was started from.
TEST_F(AutostartTest, AReplacedOrRemovedExecutableKeepsItsPath)
{
    const struct {
        const char *name;
        const char *fileName;
        void (*change)(const fs::path &);
    } cases[] = {
        {"untouched", "prog", [](const fs::path &) {}},
        {"removed", "prog", [](const fs::path &p) { fs::remove(p); }},
        {"replaced by an upgrade", "prog",
         [](const fs::path &p) {
             fs::copy_file("/bin/cat", p.string() + ".new");
             fs::rename(p.string() + ".new", p);
         }},
        {"named so by its own file", "prog (deleted)", [](const fs::path &) {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path program = home / c.fileName;
        fs::remove(program);
        fs::copy_file("/bin/cat", program);
        int input[2], started[2];
        ASSERT_EQ(::pipe(input), 0);
        ASSERT_EQ(::pipe2(started, O_CLOEXEC), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::dup2(input[0], 0);
            ::close(input[1]);
            ::execl(program.c_str(), "prog", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(input[0]);
        ::close(started[1]);
        char byte;
        EXPECT_EQ(::read(started[0], &byte, 1), 0) << "the exec closes the pipe";  // ends at the exec
        ::close(started[0]);
        c.change(program);
        EXPECT_EQ(processExecutable(child), program.string());
        ::close(input[1]);  // cat ends at the end of its input
        ::waitpid(child, nullptr, 0);
    }
    EXPECT_EQ(processExecutable(::getpid()), programPath());
}

class SettingsTest : public StoreFixture {};

TEST_F(SettingsTest, FirstStartWritesTheDefaultsAndLaterStartsKeepTheValues)
{
    createDefaultSettings();
    expectDefaultSettingsStored();

    SettingsValues changed;
    changed.groupByDefault = false;
    changed.defaultTransparency = 100;
    changed.protection.protectExit = true;
    changed.storedPassword = "Secret";
    ASSERT_TRUE(writeSettings(changed));
    createDefaultSettings();  // an existing key keeps its values
    SettingsValues read;
    readSettings(read);
    EXPECT_FALSE(read.groupByDefault);
    EXPECT_EQ(read.defaultTransparency, 100);
    EXPECT_TRUE(read.protection.protectExit);
    EXPECT_FALSE(read.protection.protectHide);
    EXPECT_EQ(read.storedPassword, "Secret");
}

TEST_F(SettingsTest, WhatCannotBeReadKeepsItsValue)
{
    createDefaultSettings();
    const fs::path folder = settingsFolder(machine);
    write(folder / "1", "");                                               // damaged
    write(folder / "2", std::string("\x01\x04\x00\x00\x00" "abc\0", 9));  // no number
    write(folder / "9", std::string("\x03\x05\x00\x00\x00" "\x01", 6));   // cut short
    fs::remove(folder / "10");
    SettingsValues values{false, 30, {}, "kept"};
    values.protection.protectExit = true;
    readSettings(values);
    EXPECT_FALSE(values.groupByDefault);
    EXPECT_EQ(values.defaultTransparency, 30);
    EXPECT_TRUE(values.protection.protectExit);
    EXPECT_EQ(values.storedPassword, "kept");

    write(folder / "2", std::string("\x01\x04\x00\x00\x00" "-5\0", 7));
    readSettings(values);
    EXPECT_EQ(values.defaultTransparency, 30) << "a percent outside 0..100 is not taken";
}

// Something else than a value file where the password should be: the other settings are
// read, the password keeps its value, nothing is waited for or read past a value's size,
// and saving writes a plain file in the key's own folder, never through a link.
TEST_F(SettingsTest, ADamagedValueFileLeavesTheOtherSettingsAndIsWrittenAnewInItsFolder)
{
    const fs::path outside = home / "outside";
    write(outside, std::string("\x01\x07\x00\x00\x00" "linked\0", 12));
    const struct {
        const char *name;
        void (*make)(const fs::path &value, const fs::path &outside);
        const char *read;  // the password read, "" when it keeps its value
    } cases[] = {
        {"folder", [](const fs::path &v, const fs::path &) { fs::create_directory(v); }, ""},
        {"pipe", [](const fs::path &v, const fs::path &) { ASSERT_EQ(::mkfifo(v.c_str(), 0600), 0); }, ""},
        {"endless device", [](const fs::path &v, const fs::path &) { fs::create_symlink("/dev/zero", v); }, ""},
        {"huge file", [](const fs::path &v, const fs::path &) { write(v, ""); fs::resize_file(v, 1ull << 32); }, ""},
        {"garbage", [](const fs::path &v, const fs::path &) { write(v, "\xff\xfe\x00garbage\x80"); }, ""},
        {"link to a value elsewhere", [](const fs::path &v, const fs::path &o) { fs::create_symlink(o, v); }, "linked"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(settingsFolder(machine));
        createDefaultSettings();
        SettingsValues stored{false, 40, {}, "secret"};
        stored.protection.protectExit = true;
        ASSERT_TRUE(writeSettings(stored));
        const fs::path value = settingsFolder(machine) / "10";
        fs::remove(value);
        c.make(value, outside);

        SettingsValues values{true, 75, {}, "kept"};
        readSettings(values);
        EXPECT_FALSE(values.groupByDefault);
        EXPECT_EQ(values.defaultTransparency, 40);
        EXPECT_TRUE(values.protection.protectExit);
        EXPECT_EQ(values.storedPassword, *c.read ? c.read : "kept");

        if (fs::is_directory(value))
            continue;  // a folder is not replaced by a file
        values.storedPassword = "new";
        EXPECT_TRUE(writeSettings(values));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(value)));
        readSettings(values);
        EXPECT_EQ(values.storedPassword, "new");
    }
    EXPECT_EQ(contents(outside), std::string("\x01\x07\x00\x00\x00" "linked\0", 12)) << "nothing written outside";
}

TEST_F(SettingsTest, APasswordIsCutAtItsLastWholeCharacter)
{
    createDefaultSettings();
    std::string password;
    for (int i = 0; i < 300; ++i)
        password += "é";
    ASSERT_TRUE(RegistryKey::create(RootKey::LocalMachine, keyPath)->setString("10", password));
    SettingsValues values;
    readSettings(values);
    EXPECT_EQ(values.storedPassword, password.substr(0, 255 * 2));
}

TEST_F(SettingsTest, ASettingsFolderRemovedMeanwhileIsMadeAgainBySaving)
{
    createDefaultSettings();
    fs::remove_all(machine);
    SettingsValues values;
    values.defaultTransparency = 20;
    ASSERT_TRUE(writeSettings(values));
    SettingsValues read;
    readSettings(read);
    EXPECT_EQ(read.defaultTransparency, 20);
}

TEST_F(SettingsTest, StartupModeFollowsTheEntriesThatNameTheProgram)
{
    const std::string self = programPath();
    const std::string name = fs::path(self).stem().string();
    std::string shouted = "/elsewhere/";
    for (char c : name)
        shouted += char(std::toupper(static_cast<unsigned char>(c)));
    const struct {
        std::string allUsers, currentUser;
        StartupMode expected;
    } cases[] = {
        {"", "", DoNotStart},
        {self, "", StartForAllUsers},
        {"", self, StartForCurrentUser},
        {self, self, StartForAllUsers},
        {shouted, "", StartForAllUsers},  // another copy in another folder, in other letters
        {"/usr/bin/other-program", "", DoNotStart},
    };
    for (const auto &c : cases) {
        deleteRunValue(RunScope::AllUsers);
        deleteRunValue(RunScope::CurrentUser);
        if (!c.allUsers.empty())
            setRunValue(RunScope::AllUsers, c.allUsers);
        if (!c.currentUser.empty())
            setRunValue(RunScope::CurrentUser, c.currentUser);
        EXPECT_EQ(readStartupMode(), c.expected) << c.allUsers << " | " << c.currentUser;
    }
}

TEST_F(SettingsTest, WritingAStartupModeLeavesOnlyThatRegistration)
{
    const struct {
        StartupMode mode;
        bool allUsers, currentUser;
    } cases[] = {{StartForCurrentUser, false, true}, {StartForAllUsers, true, false}, {DoNotStart, false, false}};
    for (const auto &c : cases) {
        setRunValue(RunScope::AllUsers, "/old/panekeeper");
        setRunValue(RunScope::CurrentUser, "/old/panekeeper");
        EXPECT_EQ(writeStartupMode(c.mode), "");
        EXPECT_EQ(fs::exists(autostartEntry(RunScope::AllUsers)), c.allUsers);
        EXPECT_EQ(fs::exists(autostartEntry(RunScope::CurrentUser)), c.currentUser);
        EXPECT_EQ(readStartupMode(), c.mode);
    }
    EXPECT_EQ(readRunValue(RunScope::CurrentUser, 260), "") ;
    writeStartupMode(StartForCurrentUser);
    EXPECT_EQ(readRunValue(RunScope::CurrentUser, 260), programPath());
}

TEST_F(SettingsTest, AnAllUsersRegistrationThatCannotBeWrittenIsReported)
{
    ::setenv("PANEKEEPER_SYSTEM_AUTOSTART", unreachable().c_str(), 1);
    EXPECT_EQ(writeStartupMode(StartForAllUsers), autostartEntry(RunScope::AllUsers).string());
    EXPECT_EQ(writeStartupMode(StartForCurrentUser), "") << "nothing there to remove";
}

} // namespace
