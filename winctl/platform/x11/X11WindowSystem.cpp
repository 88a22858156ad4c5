#include "platform/x11/X11WindowSystem.h"

#include "platform/ProcessImage.h"
#include "platform/x11/TextProperty.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <unistd.h>
#include <unordered_set>

namespace {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// Long enough for 255 characters of UTF-8.
constexpr std::uint32_t textLength = 256;

std::string_view propertyBytes(const xcb_get_property_reply_t *reply)
{
    if (!reply || reply->format != 8)
        return {};
    return {static_cast<const char *>(xcb_get_property_value(reply)),
            std::size_t(xcb_get_property_value_length(reply))};
}

// The 32-bit items of a property, empty when it is absent or of another format.
std::pair<const std::uint32_t *, std::size_t> propertyItems(const xcb_get_property_reply_t *reply)
{
    if (!reply || reply->format != 32)
        return {nullptr, 0};
    return {static_cast<const std::uint32_t *>(xcb_get_property_value(reply)),
            std::size_t(xcb_get_property_value_length(reply)) / 4};
}

std::optional<std::uint32_t> firstItem(const xcb_get_property_reply_t *reply)
{
    auto [items, count] = propertyItems(reply);
    return count ? std::optional(items[0]) : std::nullopt;
}

} // namespace

struct X11WindowSystem::Connection {
    xcb_connection_t *c = nullptr;
    int screen = 0;
    xcb_window_t root = 0;
    xcb_ewmh_connection_t ewmh{};
    xcb_atom_t wmState = 0;
    xcb_atom_t opacity = 0;
    xcb_atom_t clientLeader = 0;
    xcb_atom_t compoundText = 0;

    xcb_get_property_cookie_t property(xcb_window_t window, xcb_atom_t atom, std::uint32_t length)
    {
        return xcb_get_property(c, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, length);
    }

    Reply<xcb_get_property_reply_t> reply(xcb_get_property_cookie_t cookie)
    {
        return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(c, cookie, nullptr));
    }

    // The window's WM_STATE, read now.
    std::uint32_t currentWmState(xcb_window_t window)
    {
        return firstItem(reply(property(window, wmState, 2)).get()).value_or(0);
    }
};

X11WindowSystem::X11WindowSystem(const char *displayName) : x_(std::make_unique<Connection>())
{
    x_->c = xcb_connect(displayName, &x_->screen);
    if (xcb_connection_has_error(x_->c)) {
        xcb_disconnect(x_->c);
        throw std::runtime_error(std::string("cannot connect to the X display ") +
                                 (displayName ? displayName : std::getenv("DISPLAY") ? std::getenv("DISPLAY") : ""));
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x_->c));
    for (int i = 0; i < x_->screen && screens.rem; ++i)
        xcb_screen_next(&screens);
    x_->root = screens.data->root;

    // Every atom in one round trip, once for the life of the connection.
    xcb_intern_atom_cookie_t *ewmhCookies = xcb_ewmh_init_atoms(x_->c, &x_->ewmh);
    auto intern = [this](const char *name) { return xcb_intern_atom(x_->c, 0, std::strlen(name), name); };
    xcb_intern_atom_cookie_t wmStateCookie = intern("WM_STATE");
    xcb_intern_atom_cookie_t opacityCookie = intern("_NET_WM_WINDOW_OPACITY");
    xcb_intern_atom_cookie_t leaderCookie = intern("WM_CLIENT_LEADER");
    xcb_intern_atom_cookie_t compoundTextCookie = intern("COMPOUND_TEXT");
    xcb_ewmh_init_atoms_replies(&x_->ewmh, ewmhCookies, nullptr);
    auto atom = [this](xcb_intern_atom_cookie_t cookie) {
        Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(x_->c, cookie, nullptr));
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    x_->wmState = atom(wmStateCookie);
    x_->opacity = atom(opacityCookie);
    x_->clientLeader = atom(leaderCookie);
    x_->compoundText = atom(compoundTextCookie);

    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        hostName_ = host;

    const char *name = displayName ? displayName : std::getenv("DISPLAY");
    char *server = nullptr;
    int number = 0;
    if (name && xcb_parse_display(name, &server, &number, nullptr)) {
        const std::string serverHost = server;
        std::free(server);
        // "unix:N" is the local display ":N".
        displayName_ = (serverHost == "unix" ? std::string() : serverHost) + ':' + std::to_string(number);
    } else if (name) {
        displayName_ = name;
    }
}

X11WindowSystem::~X11WindowSystem()
{
    sync();
    xcb_ewmh_connection_wipe(&x_->ewmh);
    xcb_disconnect(x_->c);
}

// A connection closed with events still unread may make the server drop the requests it
// has not read yet: one round trip, so every change asked for is carried out.
void X11WindowSystem::sync()
{
    std::free(xcb_get_input_focus_reply(x_->c, xcb_get_input_focus(x_->c), nullptr));
}

std::string X11WindowSystem::serverMark()
{
    constexpr std::size_t markLength = 16;
    constexpr const char *markName = "_PANEKEEPER_SERVER_RUN";
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(x_->c, xcb_intern_atom(x_->c, 0, std::strlen(markName), markName), nullptr));
    if (!atom)
        return {};
    auto read = [&] {
        return std::string(propertyBytes(x_->reply(x_->property(x_->root, atom->atom, markLength / 4)).get()));
    };
    std::string mark = read();
    if (mark.size() < markLength) {
        // Of two clients that both find none, each appends its own: the first one
        // appended is the mark for all.
        std::random_device random;
        std::string made;
        for (std::size_t i = 0; i < markLength; ++i)
            made += "0123456789abcdef"[random() % 16];
        xcb_change_property(x_->c, XCB_PROP_MODE_APPEND, x_->root, atom->atom, XCB_ATOM_STRING, 8,
                            std::uint32_t(made.size()), made.data());
        mark = read();
    }
    return mark;
}

std::uint32_t X11WindowSystem::version()
{
    return 0x0105;  // 5.1: layered windows whose alpha can be read back
}

RuntimeFunctions X11WindowSystem::availableFunctions()
{
    return {true, true, true, true};
}

void X11WindowSystem::enumWindows(const std::function<bool(WindowHandle)> &visit)
{
    xcb_connection_t *c = x_->c;
    executables_.clear();
    if (xcb_connection_has_error(c))
        return;

    xcb_query_tree_cookie_t treeCookie = xcb_query_tree(c, x_->root);
    xcb_get_property_cookie_t stackingCookie = x_->property(x_->root, x_->ewmh._NET_CLIENT_LIST_STACKING, UINT32_MAX / 4);
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, treeCookie, nullptr));
    Reply<xcb_get_property_reply_t> stacking = x_->reply(stackingCookie);
    processEvents();  // every change made before these replies has arrived with them

    // The manager's clients, top first, then the other top-level windows, top first.
    auto [clients, clientCount] = propertyItems(stacking.get());
    std::vector<WindowHandle> order(clients, clients + clientCount);
    std::reverse(order.begin(), order.end());
    managed_ = std::unordered_set<WindowHandle>(order.begin(), order.end());
    clientListRead_ = true;
    const std::size_t managedCount = order.size();
    if (tree) {
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i) {
            if (!managed_.count(children[i]))
                order.push_back(children[i]);
        }
    }

    // Windows no longer at the top level are forgotten; new ones are read.
    const std::unordered_set<WindowHandle> current(order.begin(), order.end());
    std::erase_if(known_, [&](const auto &entry) { return !current.count(entry.first); });
    std::vector<WindowHandle> unknown;
    for (WindowHandle window : order) {
        if (!known_.count(window))
            unknown.push_back(window);
    }
    fetch(unknown);

    for (std::size_t i = 0; i < order.size(); ++i) {
        const WindowInfo &w = info(order[i]);  // read again if a visit changed it
        // Unmanaged windows without a class are frames, the manager's own and helper windows.
        if (!w.exists || (i >= managedCount && !w.hasClass))
            continue;
        if (!visit(order[i]))
            return;
    }
}

int X11WindowSystem::fileDescriptor() const
{
    return xcb_get_file_descriptor(x_->c);
}

// A property change makes the window be read again; a destroyed window is forgotten, as
// a new window may come with its id. Errors of requests without replies (about windows
// that vanished) are dropped.
void X11WindowSystem::processEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(x_->c)) {
        switch (event->response_type & 0x7F) {
        case XCB_PROPERTY_NOTIFY:
            known_.erase(reinterpret_cast<xcb_property_notify_event_t *>(event)->window);
            break;
        case XCB_DESTROY_NOTIFY: {
            const xcb_window_t window = reinterpret_cast<xcb_destroy_notify_event_t *>(event)->window;
            known_.erase(window);
            withdrawnStates_.erase(window);
            break;
        }
        }
        std::free(event);
    }
}

void X11WindowSystem::readClientList()
{
    Reply<xcb_get_property_reply_t> stacking =
        x_->reply(x_->property(x_->root, x_->ewmh._NET_CLIENT_LIST_STACKING, UINT32_MAX / 4));
    auto [clients, clientCount] = propertyItems(stacking.get());
    managed_ = std::unordered_set<WindowHandle>(clients, clients + clientCount);
    clientListRead_ = true;
}

// The text of a STRING, COMPOUND_TEXT or UTF8_STRING property in UTF-8.
std::string X11WindowSystem::text(const xcb_get_property_reply_t *reply) const
{
    if (!reply)
        return {};
    const std::string_view bytes = propertyBytes(reply);
    if (reply->type == x_->ewmh.UTF8_STRING)
        return textToUtf8(TextEncoding::Utf8, bytes);
    if (reply->type == x_->compoundText)
        return textToUtf8(TextEncoding::CompoundText, bytes);
    return textToUtf8(TextEncoding::Latin1, bytes);
}

// A client names its machine in WM_CLIENT_MACHINE; one that names none is taken for a
// local one. Host names are compared without regard to letter case.
bool X11WindowSystem::isThisHost(const xcb_get_property_reply_t *clientMachine) const
{
    if (!clientMachine || clientMachine->type == XCB_ATOM_NONE)
        return true;
    const std::string_view name = propertyBytes(clientMachine);
    const std::string_view machine = name.substr(0, name.find('\0'));
    return std::equal(machine.begin(), machine.end(), hostName_.begin(), hostName_.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
}

// Reads everything the queries may ask about these windows: one batch of requests
// sent before any reply is read, and one more for the titles of windows without an
// EWMH name. Property changes and the windows' destruction are selected first, so none
// that comes after the read is missed.
void X11WindowSystem::fetch(const std::vector<WindowHandle> &windows)
{
    enum { ClassCookie, NameCookie, PidCookie, MachineCookie, TransientCookie, LeaderCookie, NetStateCookie,
           OpacityCookie, TypeCookie, CookiesPerWindow };
    const xcb_ewmh_connection_t &ewmh = x_->ewmh;
    const std::uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(windows.size() * CookiesPerWindow);
    for (WindowHandle window : windows) {
        xcb_change_window_attributes(x_->c, window, XCB_CW_EVENT_MASK, &eventMask);
        cookies.push_back(x_->property(window, XCB_ATOM_WM_CLASS, textLength));
        cookies.push_back(x_->property(window, ewmh._NET_WM_NAME, textLength));
        cookies.push_back(x_->property(window, ewmh._NET_WM_PID, 1));
        cookies.push_back(x_->property(window, XCB_ATOM_WM_CLIENT_MACHINE, textLength));
        cookies.push_back(x_->property(window, XCB_ATOM_WM_TRANSIENT_FOR, 1));
        cookies.push_back(x_->property(window, x_->clientLeader, 1));
        cookies.push_back(x_->property(window, ewmh._NET_WM_STATE, 32));
        cookies.push_back(x_->property(window, x_->opacity, 1));
        cookies.push_back(x_->property(window, ewmh._NET_WM_WINDOW_TYPE, 32));
    }

    std::vector<std::pair<WindowHandle, xcb_get_property_cookie_t>> plainNames;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const WindowHandle window = windows[i];
        WindowInfo &w = known_[window];
        w = WindowInfo();
        Reply<xcb_get_property_reply_t> replies[CookiesPerWindow];
        for (int k = 0; k < CookiesPerWindow; ++k)
            replies[k] = x_->reply(cookies[i * CookiesPerWindow + k]);
        w.exists = replies[ClassCookie] != nullptr;  // no reply: BadWindow
        if (!w.exists)
            continue;

        // WM_CLASS holds the instance and then the class, each ending with a zero byte.
        w.hasClass = replies[ClassCookie]->type != XCB_ATOM_NONE;
        std::string_view wmClass = propertyBytes(replies[ClassCookie].get());
        if (std::size_t end = wmClass.find('\0'); end != std::string_view::npos) {
            wmClass.remove_prefix(end + 1);
            w.className = textToUtf8(TextEncoding::Latin1, wmClass.substr(0, wmClass.find('\0')));
        }
        if (const xcb_get_property_reply_t *name = replies[NameCookie].get(); name && name->type != XCB_ATOM_NONE)
            w.title = text(name);
        else
            plainNames.emplace_back(window, x_->property(window, XCB_ATOM_WM_NAME, textLength));
        // The process of a client on another machine is none of this one's.
        if (isThisHost(replies[MachineCookie].get()))
            w.process = firstItem(replies[PidCookie].get()).value_or(0);
        w.owner = firstItem(replies[TransientCookie].get()).value_or(0);
        // Transient for the root or for the group's leader (as toolkits mark a dialog
        // without a parent): the whole group, so no window owns it.
        if (w.owner == x_->root || w.owner == window || w.owner == firstItem(replies[LeaderCookie].get()))
            w.owner = 0;
        auto [states, stateCount] = propertyItems(replies[NetStateCookie].get());
        w.above = std::find(states, states + stateCount, ewmh._NET_WM_STATE_ABOVE) != states + stateCount;
        w.opacity = firstItem(replies[OpacityCookie].get());
        auto [types, typeCount] = propertyItems(replies[TypeCookie].get());
        if (typeCount && types[0] == ewmh._NET_WM_WINDOW_TYPE_DESKTOP)
            w.kind = Kind::Desktop;
        else if (typeCount && types[0] == ewmh._NET_WM_WINDOW_TYPE_DOCK)
            w.kind = Kind::Dock;
    }

    for (auto &[window, cookie] : plainNames)
        known_[window].title = text(x_->reply(cookie).get());
}

const X11WindowSystem::WindowInfo &X11WindowSystem::info(WindowHandle window)
{
    auto found = known_.find(window);
    if (found != known_.end())
        return found->second;
    if (window == 0) {
        static const WindowInfo none;
        return none;
    }
    fetch({window});
    return known_[window];
}

// The window will be read afresh when it is next asked about.
void X11WindowSystem::changed(WindowHandle window)
{
    known_.erase(window);
    xcb_flush(x_->c);
}

std::string X11WindowSystem::className(WindowHandle window)
{
    const WindowInfo &w = info(window);
    switch (w.kind) {
    case Kind::Desktop: return desktopClassName;
    case Kind::Dock: return taskbarClassName;
    case Kind::Normal: break;
    }
    return w.className;
}

std::string X11WindowSystem::windowText(WindowHandle window)
{
    return info(window).title;
}

bool X11WindowSystem::isVisible(WindowHandle window)
{
    if (!clientListRead_)
        readClientList();
    return managed_.count(window) != 0 && info(window).exists;
}

ProcessId X11WindowSystem::processId(WindowHandle window)
{
    return info(window).process;
}

WindowHandle X11WindowSystem::owner(WindowHandle window)
{
    return info(window).owner;
}

std::uint32_t X11WindowSystem::extendedStyle(WindowHandle window)
{
    const WindowInfo &w = info(window);
    return (w.above ? exStyleTopmost : 0) | (w.opacity ? exStyleLayered : 0);
}

std::optional<std::uint8_t> X11WindowSystem::layeredAlpha(WindowHandle window)
{
    const WindowInfo &w = info(window);
    if (!w.opacity)
        return std::nullopt;
    return std::uint8_t(*w.opacity >> 24);
}

// Only a window the user can see has a place: not one withdrawn, minimised or on
// another desktop, whose last place may lie under a window that is shown. The place is in
// the server's pixels.
std::optional<WindowRect> X11WindowSystem::windowRect(WindowHandle window)
{
    xcb_connection_t *c = x_->c;
    xcb_ewmh_connection_t &ewmh = x_->ewmh;
    xcb_get_window_attributes_cookie_t attributesCookie = xcb_get_window_attributes(c, window);
    xcb_get_geometry_cookie_t geometryCookie = xcb_get_geometry(c, window);
    xcb_translate_coordinates_cookie_t originCookie = xcb_translate_coordinates(c, window, x_->root, 0, 0);
    xcb_get_property_cookie_t extentsCookie = x_->property(window, ewmh._NET_FRAME_EXTENTS, 4);
    xcb_get_property_cookie_t desktopCookie = x_->property(window, ewmh._NET_WM_DESKTOP, 1);
    xcb_get_property_cookie_t currentCookie = x_->property(x_->root, ewmh._NET_CURRENT_DESKTOP, 1);
    Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(c, attributesCookie, nullptr));
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr));
    Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(c, originCookie, nullptr));
    Reply<xcb_get_property_reply_t> extents = x_->reply(extentsCookie);
    const std::optional<std::uint32_t> desktop = firstItem(x_->reply(desktopCookie).get());
    const std::optional<std::uint32_t> current = firstItem(x_->reply(currentCookie).get());
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE || !geometry || !origin)
        return std::nullopt;
    constexpr std::uint32_t allDesktops = 0xFFFFFFFF;
    if (desktop && current && *desktop != allDesktops && *desktop != *current)
        return std::nullopt;
    // The frame the manager draws around the window belongs to it.
    std::uint32_t frame[4] = {0, 0, 0, 0};  // left, right, top, bottom
    if (auto [items, count] = propertyItems(extents.get()); count == 4)
        std::copy(items, items + 4, frame);
    WindowRect rect;
    rect.left = origin->dst_x - int(frame[0]);
    rect.top = origin->dst_y - int(frame[2]);
    rect.right = origin->dst_x + geometry->width + int(frame[1]);
    rect.bottom = origin->dst_y + geometry->height + int(frame[3]);
    return rect;
}

WindowIcon X11WindowSystem::smallIcon(WindowHandle window)
{
    Reply<xcb_get_property_reply_t> reply = x_->reply(x_->property(window, x_->ewmh._NET_WM_ICON, 1u << 20));
    auto [items, count] = propertyItems(reply.get());
    // Icons follow one another as width, height and the pixels; the smallest one of at
    // least 16 pixels wide is taken, else the largest.
    WindowIcon best;
    for (std::size_t i = 0; i + 2 <= count;) {
        const std::uint32_t width = items[i], height = items[i + 1];
        const std::size_t pixels = std::size_t(width) * height;
        if (width == 0 || height == 0 || pixels > count - i - 2)
            break;
        const bool better = best.width == 0 || (best.width < 16 ? int(width) > best.width
                                                                : width >= 16 && int(width) < best.width);
        if (better) {
            best.width = int(width);
            best.height = int(height);
            best.argb.assign(items + i + 2, items + i + 2 + pixels);
        }
        i += 2 + pixels;
    }
    return best;
}

std::optional<std::string> X11WindowSystem::processImagePath(ProcessId process)
{
    if (process == 0)
        return std::nullopt;
    auto found = executables_.find(process);
    if (found != executables_.end())
        return found->second;
    std::optional<std::string> path = processExecutable(pid_t(process));
    executables_.emplace(process, path);
    return path;
}

std::vector<std::string> X11WindowSystem::processModules(ProcessId process)
{
    std::optional<std::string> path = processImagePath(process);
    return path ? std::vector<std::string>{*path} : std::vector<std::string>();
}

// The manager drops a window's EWMH state and desktop when it is withdrawn: what was kept
// at the hide is put back for the manager to read when it takes the window on again.
void X11WindowSystem::showWindow(WindowHandle window)
{
    if (auto kept = withdrawnStates_.find(window); kept != withdrawnStates_.end()) {
        const std::uint32_t state = x_->currentWmState(window);
        if (state != XCB_ICCCM_WM_STATE_NORMAL && state != XCB_ICCCM_WM_STATE_ICONIC) {
            const std::vector<xcb_atom_t> &states = kept->second.states;
            xcb_change_property(x_->c, XCB_PROP_MODE_REPLACE, window, x_->ewmh._NET_WM_STATE, XCB_ATOM_ATOM, 32,
                                std::uint32_t(states.size()), states.data());
            if (kept->second.desktop)
                xcb_change_property(x_->c, XCB_PROP_MODE_REPLACE, window, x_->ewmh._NET_WM_DESKTOP,
                                    XCB_ATOM_CARDINAL, 32, 1, &*kept->second.desktop);
        }
        withdrawnStates_.erase(kept);
    }
    xcb_map_window(x_->c, window);
    changed(window);
}

// The EWMH state and desktop of a window the manager has now (shown or minimised); empty
// for a withdrawn one.
std::optional<X11WindowSystem::WithdrawnState> X11WindowSystem::readShownState(WindowHandle window)
{
    xcb_get_property_cookie_t wmStateCookie = x_->property(window, x_->wmState, 2);
    xcb_get_property_cookie_t statesCookie = x_->property(window, x_->ewmh._NET_WM_STATE, 32);
    xcb_get_property_cookie_t desktopCookie = x_->property(window, x_->ewmh._NET_WM_DESKTOP, 1);
    const std::uint32_t state = firstItem(x_->reply(wmStateCookie).get()).value_or(0);
    Reply<xcb_get_property_reply_t> states = x_->reply(statesCookie);
    Reply<xcb_get_property_reply_t> desktop = x_->reply(desktopCookie);
    if (state != XCB_ICCCM_WM_STATE_NORMAL && state != XCB_ICCCM_WM_STATE_ICONIC)
        return std::nullopt;
    auto [items, count] = propertyItems(states.get());
    return WithdrawnState{std::vector<xcb_atom_t>(items, items + count), firstItem(desktop.get())};
}

// "DESKTOP:ATOM,ATOM...", with "-" for no desktop. Atom numbers hold for the server's run,
// which the journal's server mark stands for.
std::string X11WindowSystem::showState(WindowHandle window)
{
    std::optional<WithdrawnState> state = readShownState(window);
    if (!state) {
        auto kept = withdrawnStates_.find(window);
        if (kept == withdrawnStates_.end())
            return {};
        state = kept->second;
    }
    std::string text = state->desktop ? std::to_string(*state->desktop) : "-";
    text += ':';
    for (std::size_t i = 0; i < state->states.size(); ++i)
        text += (i ? "," : "") + std::to_string(state->states[i]);
    return text;
}

void X11WindowSystem::adoptShowState(WindowHandle window, const std::string &text)
{
    withdrawnStates_.erase(window);
    auto number = [](std::string_view digits) -> std::optional<std::uint32_t> {
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        return value;
    };
    const std::string_view all(text);
    const std::size_t colon = all.find(':');
    if (colon == std::string_view::npos)
        return;
    WithdrawnState state;
    if (const std::string_view desktop = all.substr(0, colon); desktop != "-") {
        state.desktop = number(desktop);
        if (!state.desktop)
            return;
    }
    for (std::string_view rest = all.substr(colon + 1); !rest.empty();) {
        const std::size_t comma = rest.find(',');
        const std::optional<std::uint32_t> atom = number(rest.substr(0, comma));
        if (!atom)
            return;
        state.states.push_back(*atom);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    withdrawnStates_[window] = std::move(state);
}

// Withdraws the window as its own program would (ICCCM 4.1.4): unmap it and tell the
// manager with a synthetic UnmapNotify. Its EWMH state and desktop are kept first.
void X11WindowSystem::hideWindow(WindowHandle window)
{
    if (!withdrawnStates_.count(window)) {
        if (std::optional<WithdrawnState> state = readShownState(window))
            withdrawnStates_[window] = std::move(*state);
    }
    xcb_unmap_window(x_->c, window);
    xcb_unmap_notify_event_t notify{};
    notify.response_type = XCB_UNMAP_NOTIFY;
    notify.event = x_->root;
    notify.window = window;
    xcb_send_event(x_->c, 0, x_->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&notify));
    changed(window);
}

// Mapping also brings a minimised window back to the normal state (ICCCM 4.1.4).
void X11WindowSystem::restoreWindow(WindowHandle window)
{
    showWindow(window);
}

void X11WindowSystem::setTopmost(WindowHandle window, bool topmost)
{
    xcb_ewmh_connection_t &ewmh = x_->ewmh;
    auto setAbove = [&](std::vector<xcb_atom_t> &states) {
        std::erase(states, ewmh._NET_WM_STATE_ABOVE);
        if (topmost)
            states.push_back(ewmh._NET_WM_STATE_ABOVE);
    };
    const std::uint32_t state = x_->currentWmState(window);
    if (state != XCB_ICCCM_WM_STATE_NORMAL && state != XCB_ICCCM_WM_STATE_ICONIC) {
        // The manager ignores requests about windows it does not manage; it reads the
        // property when it takes the window on.
        Reply<xcb_get_property_reply_t> reply = x_->reply(x_->property(window, ewmh._NET_WM_STATE, 32));
        auto [items, count] = propertyItems(reply.get());
        std::vector<xcb_atom_t> states(items, items + count);
        setAbove(states);
        xcb_change_property(x_->c, XCB_PROP_MODE_REPLACE, window, ewmh._NET_WM_STATE, XCB_ATOM_ATOM, 32,
                            std::uint32_t(states.size()), states.data());
        if (auto kept = withdrawnStates_.find(window); kept != withdrawnStates_.end())
            setAbove(kept->second.states);
    }
    xcb_ewmh_request_change_wm_state(&ewmh, x_->screen, window,
                                     topmost ? XCB_EWMH_WM_STATE_ADD : XCB_EWMH_WM_STATE_REMOVE,
                                     ewmh._NET_WM_STATE_ABOVE, XCB_NONE, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    changed(window);
}

void X11WindowSystem::setExtendedStyle(WindowHandle window, std::uint32_t style)
{
    // A layered window without an alpha is opaque; only leaving the layered style shows.
    if (!(style & exStyleLayered))
        xcb_delete_property(x_->c, window, x_->opacity);
    changed(window);
}

void X11WindowSystem::setLayeredAlpha(WindowHandle window, std::uint8_t alpha)
{
    const std::uint32_t opacity = alpha * 0x01010101u;
    xcb_change_property(x_->c, XCB_PROP_MODE_REPLACE, window, x_->opacity, XCB_ATOM_CARDINAL, 32, 1, &opacity);
    changed(window);
}

void X11WindowSystem::redrawWindow(WindowHandle window)
{
    xcb_clear_area(x_->c, 1, window, 0, 0, 0, 0);
    changed(window);
}
