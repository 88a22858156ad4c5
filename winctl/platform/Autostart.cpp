#include "platform/Autostart.h"

#include "platform/AtomicFile.h"
#include "platform/Folders.h"

#include <unistd.h>

#include <climits>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// An Exec value: the program quoted when it holds blanks or quotes, and the backslash
// doubled, as the desktop entry format wants it.
std::string execValue(const std::string &command)
{
    const bool quote = command.find_first_of(" \t\"'\\$`") != std::string::npos;
    std::string out;
    for (char c : command) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        out += c;
    }
    if (quote)
        out = '"' + out + '"';
    std::string escaped;
    for (char c : out) {
        escaped += c;
        if (c == '\\')
            escaped += '\\';
    }
    return escaped;
}

std::string commandFromExec(const std::string &value)
{
    std::string text;  // the string escapes of the format first
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            ++i;
            text += value[i] == 's' ? ' ' : value[i];
        } else {
            text += value[i];
        }
    }
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return text;
    std::string unquoted;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size())
            ++i;
        unquoted += text[i];
    }
    return unquoted;
}

} // namespace

fs::path autostartEntry(RunScope scope)
{
    fs::path folder;
    if (scope == RunScope::AllUsers) {
        const std::string system = environmentValue("PANEKEEPER_SYSTEM_AUTOSTART");
        folder = system.empty() ? fs::path("/etc/xdg/autostart") : fs::path(system);
    } else {
        folder = configHome() / "autostart";
    }
    return folder / "PaneKeeper.desktop";
}

std::string readRunValue(RunScope scope, std::size_t bufferSize)
{
    std::ifstream in(autostartEntry(scope));
    std::string line;
    bool inEntry = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[')
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.rfind("Exec=", 0) == 0) {
            std::string command = commandFromExec(line.substr(5));
            if (bufferSize == 0)
                return {};
            if (command.size() > bufferSize - 1)
                command.resize(bufferSize - 1);
            return command;
        }
    }
    return {};
}

bool setRunValue(RunScope scope, const std::string &command)
{
    const fs::path entry = autostartEntry(scope);
    std::error_code error;
    fs::create_directories(entry.parent_path(), error);
    const std::string content = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=PaneKeeper\n"
                                "Comment=Hides, raises and dims other programs' windows from the tray\n"
                                "Exec=" + execValue(command) + "\n"
                                "Terminal=false\n";
    return writeFileAtomically(entry, content) && syncFolder(entry.parent_path());
}

bool deleteRunValue(RunScope scope)
{
    const fs::path entry = autostartEntry(scope);
    std::error_code error, ignored;
    fs::remove(entry, error);
    return !error || !fs::exists(entry, ignored);
}

std::string programPath()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, std::size_t(length)) : std::string();
}
