#include "platform/Autostart.h"
#include "platform/ProcessImage.h"

#include "platform/AtomicFile.h"
#include "platform/Folders.h"

#include <unistd.h>

#include <climits>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Characters that make an argument of Exec be quoted (desktop entry format).
constexpr std::string_view reservedCharacters = " \t\n\"'\\><~|&;$*?#()`";

// The program as the one argument of an Exec value: a literal "%" doubled, the argument
// quoted when it holds a reserved character, then the escapes of any string value.
std::string execValue(const std::string &command)
{
    std::string argument;
    const bool quote = command.empty() || command.find_first_of(reservedCharacters) != npos;
    for (char c : command) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            argument += '\\';
        argument += c;
        if (c == '%')
            argument += '%';
    }
    if (quote)
        argument = '"' + argument + '"';
    std::string value;
    for (char c : argument) {
        switch (c) {
        case '\\': value += "\\\\"; break;
        case '\n': value += "\\n"; break;
        case '\t': value += "\\t"; break;
        case '\r': value += "\\r"; break;
        default: value += c;
        }
    }
    return value;
}

// Blanks around the "=" of a "key = value" line do not count.
std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Undoes execValue: the string escapes, then the quoting of each argument, then "%%".
// The arguments come back joined by blanks.
std::string commandFromExec(const std::string &value)
{
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        const char *escaped = value[i] != '\\' ? nullptr
                              : next == 's'      ? " "
                              : next == 'n'      ? "\n"
                              : next == 't'      ? "\t"
                              : next == 'r'      ? "\r"
                              : next == '\\'     ? "\\"
                                                 : nullptr;
        if (escaped) {
            text += escaped;
            ++i;
        } else {
            text += value[i];
        }
    }

    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false, quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < text.size() && std::string_view("\"`$\\").find(text[i + 1]) != npos) {
                argument += text[++i];
            } else {
                argument += c;
            }
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inArgument)
                arguments.push_back(std::exchange(argument, {}));
            inArgument = false;
        } else {
            inArgument = true;
            if (c == '"')
                quoted = true;
            else
                argument += c;
        }
    }
    if (inArgument)
        arguments.push_back(argument);

    std::string command;
    for (const std::string &a : arguments) {
        if (!command.empty())
            command += ' ';
        for (std::size_t i = 0; i < a.size(); ++i) {
            command += a[i];
            if (a[i] == '%' && i + 1 < a.size() && a[i + 1] == '%')
                ++i;
        }
    }
    return command;
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
    // Desktop entries are short; a pipe, a device or a huge file in its place is no entry.
    std::istringstream in(readSmallFile(autostartEntry(scope), 64 << 10).value_or(std::string()));
    std::string line;
    bool inEntry = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[')
            inEntry = line == "[Desktop Entry]";
        else if (const std::size_t equals = line.find('=');
                 inEntry && equals != npos && trimmed(line.substr(0, equals)) == "Exec") {
            std::string command = commandFromExec(trimmed(line.substr(equals + 1)));
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
    // Every session reads the entries for all users.
    return writeFileAtomically(entry, content, 0644) && syncFolder(entry.parent_path());
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
    return processExecutable(::getpid()).value_or(std::string());
}
