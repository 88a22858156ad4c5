#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Replaces the file's content as one step: the bytes go to a temporary file in the same
// folder, which then takes the file's name, so a crash never leaves a half-written file.
// The file gets the given mode; with keepMode, a file that is already there keeps its own.
bool writeFileAtomically(const std::filesystem::path &file, std::string_view bytes, mode_t mode,
                         bool keepMode = false);
// Makes the folder's latest renames survive a crash.
bool syncFolder(const std::filesystem::path &folder);
// Creates the folder and the missing ones above it, open to their owner only; folders
// that are there keep their permissions. Empty when it cannot be made or is no folder,
// else whether the folder itself was made now.
std::optional<bool> makePrivateFolder(const std::filesystem::path &folder);
// The bytes of a plain file of at most limit bytes. Empty for anything else: a missing or
// unreadable file, a folder, a pipe or device (never waited on), a file far too long.
std::optional<std::string> readSmallFile(const std::filesystem::path &file, std::size_t limit);
