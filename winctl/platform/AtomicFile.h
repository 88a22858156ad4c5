#pragma once

#include <filesystem>
#include <string_view>

// Replaces the file's content as one step: the bytes go to a temporary file in the same
// folder, which then takes the file's name, so a crash never leaves a half-written file.
bool writeFileAtomically(const std::filesystem::path &file, std::string_view bytes);
// Makes the folder's latest renames survive a crash.
bool syncFolder(const std::filesystem::path &folder);
