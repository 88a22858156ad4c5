#include "ChangeJournal.h"

#include "WindowActions.h"
#include "platform/AtomicFile.h"
#include "platform/Folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unordered_set>

namespace {

constexpr std::string_view firstLine = "panekeeper journal 1";
constexpr std::string_view namePrefix = "journal-";
constexpr std::string_view damagedSuffix = ".damaged";
// Far beyond the largest journal, two tables of 2000 windows with three kinds each.
constexpr off_t largestJournal = 16 << 20;

constexpr struct {
    ChangeKind kind;
    std::string_view word;
} kindWords[] = {{ChangeKind::Hidden, "hidden"}, {ChangeKind::OnTop, "ontop"}, {ChangeKind::Transparent, "transparent"}};

// A field holds no blanks: bytes up to the blank, DEL and "%" are written as %XX, and an
// empty text as "-" (a lone "-" of the text itself as %2D).
std::string encodeField(std::string_view text)
{
    if (text.empty())
        return "-";
    if (text == "-")
        return "%2D";
    std::string out;
    for (unsigned char c : text) {
        if (c <= ' ' || c == 0x7F || c == '%') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::optional<std::string> decodeField(std::string_view field)
{
    if (field == "-")
        return std::string();
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const unsigned char c = field[i];
        if (c <= ' ' || c == 0x7F)
            return std::nullopt;
        if (c != '%') {
            out += char(c);
            continue;
        }
        unsigned value = 0;
        const char *begin = field.data() + i + 1;
        if (i + 3 > field.size() || std::from_chars(begin, begin + 2, value, 16).ptr != begin + 2)
            return std::nullopt;
        out += char(value);
        i += 2;
    }
    return out;
}

template <typename T>
std::optional<T> number(std::string_view text, int base = 10)
{
    T value{};
    if (text.empty() || text[0] == '+' || text[0] == '-')
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<std::string_view> splitBlanks(std::string_view line)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t blank = line.find(' ', start);
        parts.push_back(line.substr(start, blank - start));
        if (blank == std::string_view::npos)
            return parts;
        start = blank + 1;
    }
}

std::optional<JournalRecord> parseRecord(std::string_view line)
{
    const std::vector<std::string_view> parts = splitBlanks(line);
    if (parts.size() != 5)
        return std::nullopt;
    JournalRecord record;
    const auto kind = std::find_if(std::begin(kindWords), std::end(kindWords),
                                   [&](const auto &k) { return k.word == parts[0]; });
    const std::optional<WindowHandle> window = number<WindowHandle>(parts[1], 16);
    const std::optional<ProcessId> process = number<ProcessId>(parts[2]);
    std::optional<std::string> className = decodeField(parts[3]);
    std::optional<std::string> before = decodeField(parts[4]);
    if (kind == std::end(kindWords) || !window || *window == 0 || !process || !className || !before)
        return std::nullopt;
    return JournalRecord{kind->kind, *window, *process, std::move(*className), std::move(*before)};
}

std::string fileName(const ProcessStamp &owner)
{
    return std::string(namePrefix) + std::to_string(owner.pid) + '-' + std::to_string(owner.started);
}

// The copy a journal's file name stands for: "journal-PID-STARTED".
std::optional<ProcessStamp> ownerOfFile(std::string_view name)
{
    if (!name.starts_with(namePrefix))
        return std::nullopt;
    name.remove_prefix(namePrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::optional<std::int64_t> pid = number<std::int64_t>(name.substr(0, dash));
    const std::optional<std::uint64_t> started = number<std::uint64_t>(name.substr(dash + 1));
    if (!pid || !started)
        return std::nullopt;
    return ProcessStamp{*pid, *started};
}

// The file's bytes, when it is a plain file of this user's of a journal's size.
std::optional<std::string> readJournalFile(const std::filesystem::path &file, std::string &error)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "it cannot be opened";
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> text;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        error = "it is not a file of this user's";
    } else if (info.st_size > largestJournal) {
        error = "it is far too long";
    } else {
        text.emplace();
        char buffer[65536];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text->size() <= std::size_t(largestJournal))
            text->append(buffer, std::size_t(n));
        if (n < 0) {
            error = "it cannot be read";
            text.reset();
        }
    }
    ::close(fd);
    return text;
}

bool removeFile(const std::filesystem::path &file)
{
    if (::unlink(file.c_str()) != 0)
        return errno == ENOENT;
    syncFolder(file.parent_path());
    return true;
}

// Undoes the journal's changes on the windows that are still the ones it names.
std::string putBack(const JournalContent &journal, WindowSystem &system, const SystemFacts &facts)
{
    std::unordered_set<WindowHandle> existing;
    system.enumWindows([&](WindowHandle window) {
        existing.insert(window);
        return true;
    });
    std::size_t restored = 0, passedOver = 0;
    for (const JournalRecord &record : journal.records) {
        const WindowHandle window = record.window;
        if (!existing.count(window) || system.className(window) != record.className ||
            system.processId(window) != record.process) {
            ++passedOver;
            continue;
        }
        if (record.kind == ChangeKind::Hidden)
            system.adoptShowState(window, record.before);
        undoWindowChange(system, facts, record.kind, window, record.before);
        ++restored;
    }
    std::string message = "put back " + std::to_string(restored) + " change(s) that a copy which ended without " +
                          "undoing them had made";
    if (passedOver)
        message += "; " + std::to_string(passedOver) + " window(s) it named are gone or are other windows now, " +
                   "and were left alone";
    return message;
}

} // namespace

ProcessStamp thisProcess()
{
    const std::int64_t pid = ::getpid();
    return processStamp(pid).value_or(ProcessStamp{pid, 0});
}

std::optional<ProcessStamp> processStamp(std::int64_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (pid <= 0 || !std::getline(in, stat))
        return std::nullopt;
    // The name in parentheses may hold blanks and parentheses itself; the fields after it
    // are the state (the third field) and, 19 further, the start time (the 22nd).
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string state, skipped;
    fields >> state;
    for (int i = 0; i < 18; ++i)
        fields >> skipped;
    std::uint64_t started = 0;
    // A zombie has ended; only its parent has not looked at it yet.
    if (!(fields >> started) || state == "Z" || state == "X")
        return std::nullopt;
    return ProcessStamp{pid, started};
}

bool isRunning(const ProcessStamp &process)
{
    if (const std::optional<ProcessStamp> now = processStamp(process.pid))
        return now->started == process.started;
    // Where no process can be looked at, no copy can be taken for ended.
    return !processStamp(::getpid());
}

std::string formatJournalHeader(const JournalHeader &header)
{
    return std::string(firstLine) + "\ndisplay " + encodeField(header.display.name) + "\nserver " +
           encodeField(header.display.server) + "\nowner " + std::to_string(header.owner.pid) + ' ' +
           std::to_string(header.owner.started) + '\n';
}

std::string formatJournalRecord(const JournalRecord &record)
{
    std::string_view word;
    for (const auto &k : kindWords) {
        if (k.kind == record.kind)
            word = k.word;
    }
    char window[9];
    std::snprintf(window, sizeof window, "%08X", record.window);
    return std::string(word) + ' ' + window + ' ' + std::to_string(record.process) + ' ' +
           encodeField(record.className) + ' ' + encodeField(record.before) + '\n';
}

std::optional<JournalContent> parseJournal(std::string_view text, std::string &error)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            break;  // an append cut short
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    auto damaged = [&](std::string reason) {
        error = std::move(reason);
        return std::nullopt;
    };
    if (lines.empty() || lines[0] != firstLine)
        return damaged(lines.empty() ? "it is empty" : "its first line is not that of a journal this program writes");
    if (lines.size() < 4)
        return damaged("its header is not whole");
    JournalContent journal;
    const std::vector<std::string_view> display = splitBlanks(lines[1]);
    const std::vector<std::string_view> server = splitBlanks(lines[2]);
    const std::vector<std::string_view> owner = splitBlanks(lines[3]);
    std::optional<std::string> name = display.size() == 2 && display[0] == "display" ? decodeField(display[1])
                                                                                    : std::nullopt;
    std::optional<std::string> mark = server.size() == 2 && server[0] == "server" ? decodeField(server[1])
                                                                                 : std::nullopt;
    const std::optional<std::int64_t> pid = owner.size() == 3 && owner[0] == "owner" ? number<std::int64_t>(owner[1])
                                                                                    : std::nullopt;
    const std::optional<std::uint64_t> started = owner.size() == 3 ? number<std::uint64_t>(owner[2]) : std::nullopt;
    if (!name || !mark || !pid || !started)
        return damaged("its header is not readable");
    journal.header = {{std::move(*name), std::move(*mark)}, {*pid, *started}};
    for (std::size_t i = 4; i < lines.size(); ++i) {
        std::optional<JournalRecord> record = parseRecord(lines[i]);
        if (!record)
            return damaged("line " + std::to_string(i + 1) + " is not a record");
        journal.records.push_back(std::move(*record));
    }
    return journal;
}

std::optional<std::filesystem::path> journalFolder()
{
    const std::string runtime = environmentValue("XDG_RUNTIME_DIR");
    const std::filesystem::path folder = runtime.empty()
                                             ? std::filesystem::path("/tmp/panekeeper-" + std::to_string(::geteuid()))
                                             : std::filesystem::path(runtime) / "panekeeper";
    if (!makePrivateFolder(folder))
        return std::nullopt;
    // Not a link someone put in its place, nor a folder others may write into.
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return std::nullopt;
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return std::nullopt;
    return folder;
}

ChangeJournal::ChangeJournal(std::filesystem::path folder, JournalHeader header)
    : folder_(std::move(folder)), file_(folder_ / fileName(header.owner)), header_(formatJournalHeader(header))
{
}

ChangeJournal::~ChangeJournal()
{
    closeFile();
}

void ChangeJournal::closeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool ChangeJournal::add(const std::vector<JournalRecord> &records)
{
    auto held = [](const std::vector<JournalRecord> &in, const JournalRecord &r) {
        return std::any_of(in.begin(), in.end(),
                           [&](const JournalRecord &h) { return h.window == r.window && h.kind == r.kind; });
    };
    std::vector<JournalRecord> fresh;
    for (const JournalRecord &record : records) {
        if (!held(records_, record) && !held(fresh, record))
            fresh.push_back(record);
    }
    if (fresh.empty())
        return true;
    if (fd_ < 0) {
        // The file comes whole, with every record, or not at all.
        records_.insert(records_.end(), fresh.begin(), fresh.end());
        if (rewrite())
            return true;
        records_.resize(records_.size() - fresh.size());
        return false;
    }
    std::string lines;
    for (const JournalRecord &record : fresh)
        lines += formatJournalRecord(record);
    bool ok = true;
    for (std::size_t done = 0; ok && done < lines.size();) {
        const ssize_t n = ::write(fd_, lines.data() + done, lines.size() - done);
        ok = n > 0;
        done += ok ? std::size_t(n) : 0;
    }
    ok = ok && ::fdatasync(fd_) == 0;
    if (!ok) {
        // A line cut short would end the journal in the middle of the next one.
        if (::ftruncate(fd_, off_t(size_)) != 0)
            closeFile();  // the next change writes the whole file anew
        return false;
    }
    size_ += lines.size();
    records_.insert(records_.end(), fresh.begin(), fresh.end());
    return true;
}

void ChangeJournal::remove(ChangeKind kind, const std::vector<WindowHandle> &windows)
{
    const std::size_t erased = std::erase_if(records_, [&](const JournalRecord &r) {
        return r.kind == kind && std::find(windows.begin(), windows.end(), r.window) != windows.end();
    });
    if (erased && !rewrite())
        closeFile();  // the next change writes the whole file anew; meanwhile an extra undo is harmless
}

void ChangeJournal::clear()
{
    records_.clear();
    rewrite();
}

// The file as the records stand, in one step; none without records.
bool ChangeJournal::rewrite()
{
    closeFile();
    if (records_.empty())
        return removeFile(file_);
    std::string content = header_;
    for (const JournalRecord &record : records_)
        content += formatJournalRecord(record);
    if (!writeFileAtomically(file_, content, 0600) || !syncFolder(folder_))
        return false;
    fd_ = ::open(file_.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    size_ = content.size();
    return fd_ >= 0;
}

std::vector<std::string> replayJournals(const std::filesystem::path &folder, const JournalDisplay &display,
                                        WindowSystem &system, const SystemFacts &facts)
{
    std::vector<std::string> messages;
    std::error_code failure;
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(folder, failure))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path &file : files) {
        // The name tells whose it is before a byte is read: a running copy's journal is
        // its own business, whatever it holds.
        const std::optional<ProcessStamp> owner = ownerOfFile(file.filename().string());
        if (!owner || isRunning(*owner))
            continue;
        std::string error;
        const std::optional<std::string> text = readJournalFile(file, error);
        if (!text) {
            messages.push_back("the change journal " + file.string() + " was left alone: " + error);
            continue;
        }
        std::optional<JournalContent> journal = parseJournal(*text, error);
        if (journal && journal->header.owner != *owner) {
            journal.reset();
            error = "its header names another copy than its file name";
        }
        if (!journal) {
            const std::filesystem::path aside = file.string() + std::string(damagedSuffix);
            std::filesystem::rename(file, aside, failure);
            messages.push_back("the change journal " + file.string() + " is damaged (" + error + "); nothing of it " +
                               "was applied" + (failure ? std::string() : ", and it was set aside as " + aside.string()));
            continue;
        }
        if (journal->header.display.name != display.name)
            continue;  // for the next start on its own display
        if (journal->header.display.server != display.server) {
            removeFile(file);
            messages.push_back("the change journal " + file.string() + " named windows of an earlier run of the " +
                               "X server of " + display.name + ", which are all gone; it was removed");
            continue;
        }
        if (!journal->records.empty())
            messages.push_back(putBack(*journal, system, facts) + " (journal " + file.string() + ")");
        removeFile(file);
    }
    return messages;
}
