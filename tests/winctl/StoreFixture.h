#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Points the machine-wide store, the user's configuration and the system's autostart
// folder into a fresh temporary folder for each test.
class StoreFixture : public ::testing::Test {
protected:
    std::filesystem::path home;
    std::filesystem::path machine;
    std::filesystem::path config;
    std::filesystem::path systemAutostart;

    void SetUp() override
    {
        char folder[] = "/tmp/winctl-store-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        home = folder;
        machine = home / "machine";
        config = home / "config";
        systemAutostart = home / "xdg-autostart";
        ::setenv("PANEKEEPER_MACHINE_STORE", machine.c_str(), 1);
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
