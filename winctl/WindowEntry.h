#pragma once

#include "platform/WindowSystem.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// What a change record undoes; the numbers are those of the actions that make the changes.
enum class ChangeKind : std::int32_t { None = 0, Hidden = 1, OnTop = 2, Transparent = 4 };

// One window as the inventory and the change records keep it.
struct WindowEntry {
    WindowHandle hwnd = 0;
    std::string className;
    std::string title;
    std::string processIdText;
    std::string fileName;
    std::string topmostText;
    WindowHandle owner = 0;
    ChangeKind changeKind = ChangeKind::None;
    std::string opacityText;
};

constexpr std::uint32_t tableCapacity = 2000;

// A table of at most tableCapacity entries with a count. Entries are overwritten in
// place, so refilling the table reuses the memory of its texts.
template <typename T>
class FixedTable {
public:
    FixedTable() : entries_(tableCapacity) {}

    std::uint32_t count() const { return count_; }
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == tableCapacity; }
    void clear() { count_ = 0; }

    T &operator[](std::uint32_t index) { return entries_[index]; }
    const T &operator[](std::uint32_t index) const { return entries_[index]; }
    auto begin() { return entries_.begin(); }
    auto end() { return entries_.begin() + count_; }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.begin() + count_; }

    // False, and nothing stored, when the table is full.
    bool append(const T &value)
    {
        if (full())
            return false;
        entries_[count_++] = value;
        return true;
    }

    bool contains(const T &value) const { return std::find(begin(), end(), value) != end(); }

    // The entries after index move down one place, keeping their order.
    void removeAt(std::uint32_t index)
    {
        if (index >= count_)
            return;
        std::rotate(entries_.begin() + index, entries_.begin() + index + 1, end());
        --count_;
    }

private:
    std::vector<T> entries_;
    std::uint32_t count_ = 0;
};

constexpr const char *yesText = "Yes";
constexpr const char *noText = "No";
constexpr const char *unknownFileName = "unknown";
constexpr const char *taskbarTitle = "Taskbar";
constexpr const char *toolbarTitle = "Toolbar";
constexpr const char *fullOpacityText = "100 %";

// "%.8X": eight upper-case hexadecimal digits.
std::string formatProcessId(ProcessId process);
// "%d %%", as in "74 %".
std::string formatOpacity(int percent);
