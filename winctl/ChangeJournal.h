#pragma once

#include "SystemFacts.h"
#include "WindowEntry.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The journal of the changes this copy has made to other programs' windows, kept on disk
// so that a copy killed before it could undo them leaves them to the next start.
//
// One file per running copy, named after its process, in a folder private to the user.
// A header names the display and the copy; then one line per changed window and kind.
// A record is written and flushed before its change is made, and taken out once the
// change is undone; a copy that ends normally undoes everything and removes its file.

// One change to one window: what finds the window again (ids are reused, so its class and
// process are kept beside the id) and what its undoing needs.
struct JournalRecord {
    ChangeKind kind = ChangeKind::None;
    WindowHandle window = 0;
    ProcessId process = 0;
    std::string className;
    // What the window had before the change, that its undoing gives back (stateBefore).
    std::string before;

    bool operator==(const JournalRecord &) const = default;
};

// The display whose window ids a journal names: its name, as in DISPLAY without the
// screen, and a mark of the server's run, as a server started anew under the same name
// holds other windows.
struct JournalDisplay {
    std::string name;
    std::string server;

    bool operator==(const JournalDisplay &) const = default;
};

// A process, told apart from a later one with the same id by its start time.
struct ProcessStamp {
    std::int64_t pid = 0;
    std::uint64_t started = 0;  // clock ticks after the boot

    bool operator==(const ProcessStamp &) const = default;
};
// Empty when no such process runs (one that ended and waits for its parent included).
std::optional<ProcessStamp> processStamp(std::int64_t pid);
ProcessStamp thisProcess();
// False only when the process is known to have ended.
bool isRunning(const ProcessStamp &process);

struct JournalHeader {
    JournalDisplay display;
    ProcessStamp owner;

    bool operator==(const JournalHeader &) const = default;
};

struct JournalContent {
    JournalHeader header;
    std::vector<JournalRecord> records;
};

std::string formatJournalHeader(const JournalHeader &header);
std::string formatJournalRecord(const JournalRecord &record);
// The journal in a text; empty, with the reason in error, when the text is damaged. An
// unfinished last line is an append cut short, whose change was never made: it is left out.
std::optional<JournalContent> parseJournal(std::string_view text, std::string &error);

// The folder of the journals, open to the user only: $XDG_RUNTIME_DIR/panekeeper, or
// /tmp/panekeeper-UID without a runtime folder. Empty when it cannot be made, or is not a
// folder of this user's that only they can reach.
std::optional<std::filesystem::path> journalFolder();

// This copy's journal. The file exists only while it holds records.
class ChangeJournal {
public:
    ChangeJournal(std::filesystem::path folder, JournalHeader header);
    ~ChangeJournal();
    ChangeJournal(const ChangeJournal &) = delete;
    ChangeJournal &operator=(const ChangeJournal &) = delete;

    const std::filesystem::path &file() const { return file_; }
    const std::vector<JournalRecord> &records() const { return records_; }

    // Writes the records not held yet (one per window and kind) and flushes them to the
    // disk; false, and the journal as it was, when that fails.
    bool add(const std::vector<JournalRecord> &records);
    // Takes out the records of these windows' changes of this kind.
    void remove(ChangeKind kind, const std::vector<WindowHandle> &windows);
    // Takes out every record: the file goes.
    void clear();

private:
    bool rewrite();
    void closeFile();

    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::string header_;
    std::vector<JournalRecord> records_;
    int fd_ = -1;             // open for appending while the file exists
    std::uint64_t size_ = 0;  // of the file, to cut a failed append off
};

// Puts back the changes of journals that copies no longer running left in the folder for
// this display: each window still there, with the class and process it had, gets its
// change undone, and the journal goes. Journals of running copies and of other displays
// are left alone; one of an earlier run of this display's server names no window left
// and goes; a damaged one is set aside under the suffix ".damaged" and nothing of it is
// applied. Returns what is worth telling the user.
std::vector<std::string> replayJournals(const std::filesystem::path &folder, const JournalDisplay &display,
                                        WindowSystem &system, const SystemFacts &facts);
