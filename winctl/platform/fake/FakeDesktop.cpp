#include "platform/fake/FakeDesktop.h"

#include <algorithm>

std::ostream &operator<<(std::ostream &out, const FakeCall &call)
{
    return out << call.name << '(' << call.window << ", " << call.argument << ')';
}

std::uint32_t FakeDesktop::versionNumber(int major, int minor, bool win9x)
{
    return std::uint32_t(major & 0xFF) | std::uint32_t(minor & 0xFF) << 8 | (win9x ? 0x80000000u : 0u);
}

WindowHandle FakeDesktop::addWindow(const std::string &title, const std::string &className, WindowHandle owner)
{
    FakeWindow w;
    w.title = title;
    w.className = className;
    w.owner = owner;
    return addWindow(w);
}

WindowHandle FakeDesktop::addWindow(FakeWindow window)
{
    const WindowHandle handle = nextHandle_++;
    windows_.emplace(handle, std::move(window));
    zOrder_.push_back(handle);
    return handle;
}

void FakeDesktop::removeWindow(WindowHandle handle)
{
    windows_.erase(handle);
    std::erase(zOrder_, handle);
}

void FakeDesktop::enumWindows(const std::function<bool(WindowHandle)> &visit)
{
    // A copy, so windows may vanish while the enumeration runs.
    const std::vector<WindowHandle> order = zOrder_;
    for (WindowHandle handle : order) {
        if (!visit(handle))
            return;
    }
}

const FakeWindow *FakeDesktop::query(WindowHandle handle)
{
    if (beforeQuery)
        beforeQuery(handle);
    auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : &found->second;
}

FakeWindow *FakeDesktop::change(const char *name, WindowHandle handle, int argument)
{
    calls.push_back({name, handle, argument});
    auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : &found->second;
}

std::string FakeDesktop::className(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w ? w->className : std::string();
}

std::string FakeDesktop::windowText(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w ? w->title : std::string();
}

bool FakeDesktop::isVisible(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w && w->visible;
}

ProcessId FakeDesktop::processId(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w ? w->process : 0;
}

WindowHandle FakeDesktop::owner(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w ? w->owner : 0;
}

std::uint32_t FakeDesktop::extendedStyle(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w ? w->exStyle : 0;
}

std::optional<std::uint8_t> FakeDesktop::layeredAlpha(WindowHandle window)
{
    const FakeWindow *w = query(window);
    if (!w || !(w->exStyle & exStyleLayered))
        return std::nullopt;
    return w->alpha;
}

std::optional<WindowRect> FakeDesktop::windowRect(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w && w->visible && !w->minimised ? std::optional(w->rect) : std::nullopt;
}

WindowIcon FakeDesktop::smallIcon(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w ? w->icon : WindowIcon();
}

std::optional<std::string> FakeDesktop::processImagePath(ProcessId process)
{
    auto found = processes.find(process);
    return found == processes.end() ? std::nullopt : found->second.imagePath;
}

std::vector<std::string> FakeDesktop::processModules(ProcessId process)
{
    auto found = processes.find(process);
    return found == processes.end() ? std::vector<std::string>() : found->second.modules;
}

void FakeDesktop::showWindow(WindowHandle window)
{
    if (FakeWindow *w = change("showWindow", window))
        w->visible = true;
}

void FakeDesktop::hideWindow(WindowHandle window)
{
    if (FakeWindow *w = change("hideWindow", window))
        w->visible = false;
}

std::string FakeDesktop::showState(WindowHandle window)
{
    const FakeWindow *w = query(window);
    return w ? w->showState : std::string();
}

void FakeDesktop::adoptShowState(WindowHandle window, const std::string &state)
{
    if (FakeWindow *w = change("adoptShowState", window))
        w->showState = state;
}

void FakeDesktop::restoreWindow(WindowHandle window)
{
    if (FakeWindow *w = change("restoreWindow", window)) {
        w->visible = true;
        w->minimised = false;
    }
}

void FakeDesktop::setTopmost(WindowHandle window, bool topmost)
{
    if (FakeWindow *w = change("setTopmost", window, topmost))
        w->exStyle = topmost ? w->exStyle | exStyleTopmost : w->exStyle & ~exStyleTopmost;
}

void FakeDesktop::setExtendedStyle(WindowHandle window, std::uint32_t style)
{
    FakeWindow *w = change("setExtendedStyle", window, int(style));
    if (!w)
        return;
    w->exStyle = (w->exStyle & ~exStyleLayered) | (style & exStyleLayered);
    if (!(style & exStyleLayered))
        w->alpha.reset();
}

void FakeDesktop::setLayeredAlpha(WindowHandle window, std::uint8_t alpha)
{
    FakeWindow *w = change("setLayeredAlpha", window, alpha);
    if (w && (w->exStyle & exStyleLayered))
        w->alpha = alpha;
}

void FakeDesktop::redrawWindow(WindowHandle window)
{
    change("redrawWindow", window);
}
