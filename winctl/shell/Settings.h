#pragma once

#include "WindowActions.h"

#include <string>

// The utility's settings in its registry key, and its start with the session.

constexpr const char *settingsKeyPath = "SOFTWARE\\Norvane\\Kesto@Utilities\\PaneKeeper";
constexpr std::size_t maxPasswordLength = 255;  // characters

struct SettingsValues {
    bool groupByDefault = true;
    int defaultTransparency = 75;
    ProtectionFlags protection;
    std::string storedPassword;
};

enum StartupMode { StartForAllUsers = 0, StartForCurrentUser = 1, DoNotStart = 2 };

// Writes the defaults, but only into a key that did not exist before.
void createDefaultSettings();
// Reads the store into values; what cannot be read (a missing key, a missing or damaged
// value, a percent that is no number of 0..100) keeps its present value.
void readSettings(SettingsValues &values);
// Writes every value; the key is made again when it was removed meanwhile. False when
// the key could not be written.
bool writeSettings(const SettingsValues &values);

// The registration found: for all users when that entry's command names this program
// (in any letter case), else for the current user when that one does, else none.
StartupMode readStartupMode();
// Removes what the mode does not want first, then registers the program's real path.
// The entry that could not be written or removed; empty when all went well.
std::string writeStartupMode(StartupMode mode);
