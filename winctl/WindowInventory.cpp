#include "WindowInventory.h"

namespace {

constexpr std::size_t maxNameLength = 255;

// Keeps at most maxNameLength characters, never cutting a UTF-8 sequence.
void limitLength(std::string &text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > maxNameLength) {
            text.resize(i);
            return;
        }
    }
}

std::string asciiLower(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return text;
}

bool listedDespiteEmptyTitle(const std::string &className)
{
    return className == taskbarClassName || className == toolbarClassName;
}

} // namespace

WindowInventory::WindowInventory(WindowSystem &system, const SystemFacts &facts) : system_(system), facts_(facts) {}

void WindowInventory::buildInventory()
{
    listedWindows.clear();
    allWindows.clear();
    ownedWindows.clear();
    enumerateWindows(0);
    mergeOwnedStates();
}

void WindowInventory::enumerateWindows(int mode)
{
    system_.enumWindows([this, mode](WindowHandle hwnd) { return collectWindow(hwnd, mode); });
}

bool WindowInventory::collectWindow(WindowHandle hwnd, int mode)
{
    if (mode == 0) {
        collectForInventory(hwnd);
    } else if (mode == 1 && previousCopyCheck) {
        std::string className = system_.className(hwnd);
        std::string title = system_.windowText(hwnd);
        limitLength(className);
        limitLength(title);
        previousCopyCheck(hwnd, className, title);
    }
    return true;
}

void WindowInventory::collectForInventory(WindowHandle hwnd)
{
    WindowEntry &e = entry_;
    e.className = system_.className(hwnd);
    e.title = system_.windowText(hwnd);
    limitLength(e.className);
    limitLength(e.title);
    if (!system_.isVisible(hwnd) || e.className == desktopClassName)
        return;

    e.hwnd = hwnd;
    const ProcessId process = system_.processId(hwnd);
    e.processIdText = formatProcessId(process);
    e.fileName = executableFileName(process);
    e.owner = system_.owner(hwnd);
    e.opacityText = formatOpacity(getWindowOpacity(hwnd) * 100 / 255);
    e.topmostText = isWindowTopmost(hwnd) ? yesText : noText;
    e.changeKind = ChangeKind::None;

    const bool titled = !e.title.empty() || listedDespiteEmptyTitle(e.className);
    bool listed = titled;
    if (groupChildWindows && e.owner != 0) {
        const std::string ownerClass = asciiLower(system_.className(e.owner));
        // Windows of a rundll host or a stub window belong to no application window.
        if (ownerClass != "rundll" && ownerClass != "stubwindow32") {
            ownedWindows.append(hwnd);
            listed = false;
        }
    }
    if (groupChildWindows)
        allWindows.append(e);  // the raw title, before the taskbar and toolbar names
    if (listed) {
        if (e.className == taskbarClassName)
            e.title = taskbarTitle;
        else if (e.className == toolbarClassName)
            e.title = toolbarTitle;
        listedWindows.append(e);
    }
}

std::string WindowInventory::executableFileName(ProcessId process)
{
    if (facts_.isWin9x) {
        // The first module whose path names an .EXE, in any letter case, is the program.
        for (const std::string &module : system_.processModules(process)) {
            std::string upper = module;
            for (char &c : upper) {
                if (c >= 'a' && c <= 'z')
                    c = char(c - 'a' + 'A');
            }
            if (upper.find(".EXE") != std::string::npos)
                return module;
        }
        return unknownFileName;
    }
    if (facts_.canReadProcessImage()) {
        if (std::optional<std::string> path = system_.processImagePath(process))
            return *path;
    }
    return unknownFileName;
}

int WindowInventory::getWindowOpacity(WindowHandle hwnd)
{
    if (facts_.canReadLayeredAlpha()) {
        if (std::optional<std::uint8_t> alpha = system_.layeredAlpha(hwnd))
            return *alpha;
    }
    return 255;
}

bool WindowInventory::isWindowTopmost(WindowHandle hwnd)
{
    return (system_.extendedStyle(hwnd) & exStyleTopmost) != 0;
}

int WindowInventory::listedRow(WindowHandle hwnd) const
{
    for (std::uint32_t i = 0; i < listedWindows.count(); ++i) {
        if (listedWindows[i].hwnd == hwnd)
            return int(i);
    }
    return -1;
}

// A row stands for its owned windows too: it shows their transparency or topmost
// state when the owner itself has none.
void WindowInventory::mergeOwnedStates()
{
    for (WindowEntry &listed : listedWindows) {
        for (const WindowEntry &other : allWindows) {
            if (other.owner != listed.hwnd)
                continue;
            if (listed.opacityText == fullOpacityText && other.opacityText != fullOpacityText)
                listed.opacityText = other.opacityText;
            if (listed.topmostText == noText && other.topmostText != noText)
                listed.topmostText = other.topmostText;
        }
    }
}
