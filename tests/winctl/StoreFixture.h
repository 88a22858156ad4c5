#pragma once

#include "platform/RegistryStore.h"
#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Points the machine-wide store, the user's configuration, the system's autostart folder
// and the user's runtime folder into a fresh temporary folder for each test.
class StoreFixture : public ::testing::Test {
protected:
    std::filesystem::path home;
    std::filesystem::path machine;
    std::filesystem::path config;
    std::filesystem::path systemAutostart;
    std::filesystem::path runtime;

    void SetUp() override
    {
        char folder[] = "/tmp/winctl-store-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        home = folder;
        machine = home / "machine";
        config = home / "config";
        systemAutostart = home / "xdg-autostart";
        runtime = home / "runtime";
        ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
        ::setenv("PANEKEEPER_MACHINE_STORE", machine.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::setenv("PANEKEEPER_SYSTEM_AUTOSTART", systemAutostart.c_str(), 1);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }

    // A folder no one can create anything in, not even root: it lies below a plain file.
    std::filesystem::path unreachable()
    {
        std::ofstream(home / "plain-file") << "x";
        return home / "plain-file" / "below";
    }

    // The settings key holds what a first start writes: "1" = 1, "2" = "75", "3".."9" = 0, "10" = "".
    static void expectDefaultSettingsStored()
    {
        std::optional<RegistryKey> key = RegistryKey::open(RootKey::LocalMachine, settingsKeyPath, KeyAccess::Read);
        ASSERT_TRUE(key);
        EXPECT_EQ(key->queryBinary("1", 1), std::vector<std::uint8_t>{1});
        EXPECT_EQ(key->queryString("2", 4), "75");
        for (const char *flag : {"3", "4", "5", "6", "7", "8", "9"})
            EXPECT_EQ(key->queryBinary(flag, 1), std::vector<std::uint8_t>{0}) << flag;
        EXPECT_EQ(key->queryString("10", 256), "");
    }

    static std::string contents(const std::filesystem::path &file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    static void write(const std::filesystem::path &file, const std::string &bytes)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
};
