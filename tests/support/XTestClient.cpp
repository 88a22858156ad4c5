#include "XTestClient.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace xtest {

namespace {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, FreeDeleter>;

} // namespace

XClient::XClient(const std::string &display)
{
    int screen = 0;
    c_ = xcb_connect(display.c_str(), &screen);
    if (xcb_connection_has_error(c_)) {
        xcb_disconnect(c_);
        throw std::runtime_error("cannot connect to X display " + display);
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    root_ = it.data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c_);
}

XClient::~XClient()
{
    xcb_disconnect(c_);
}

xcb_atom_t XClient::atom(const std::string &name)
{
    auto found = atoms_.find(name);
    if (found != atoms_.end())
        return found->second;
    std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply(
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, name.size(), name.c_str()), nullptr));
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    atoms_[name] = value;
    return value;
}

xcb_window_t XClient::openWindow(const WindowSpec &windowSpec, std::chrono::milliseconds timeout)
{
    const xcb_window_t window = windowSpec.id != XCB_NONE ? windowSpec.id : xcb_generate_id(c_);
    mapNotified_.erase(window);
    const std::uint32_t values[] = {0xFFFFFF, XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window, root_, std::int16_t(windowSpec.x), std::int16_t(windowSpec.y),
                      std::uint16_t(windowSpec.width), std::uint16_t(windowSpec.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);

    auto set = [&](xcb_atom_t property, xcb_atom_t type, std::uint8_t format, std::uint32_t length, const void *data) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, property, type, format, length, data);
    };
    const std::string wmClass = windowSpec.instance + '\0' + windowSpec.className + '\0';
    set(XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, std::uint32_t(wmClass.size()), wmClass.data());
    set(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, std::uint32_t(windowSpec.title.size()), windowSpec.title.data());
    if (windowSpec.ewmhName)
        set(atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, std::uint32_t(windowSpec.title.size()), windowSpec.title.data());
    if (windowSpec.pid)
        set(atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &*windowSpec.pid);
    if (windowSpec.transientFor != XCB_NONE)
        set(XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &windowSpec.transientFor);
    if (windowSpec.clientLeader != XCB_NONE)
        set(atom("WM_CLIENT_LEADER"), XCB_ATOM_WINDOW, 32, 1, &windowSpec.clientLeader);
    if (!windowSpec.windowType.empty()) {
        const xcb_atom_t type = atom(windowSpec.windowType);
        set(atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &type);
    }
    if (!windowSpec.states.empty()) {
        std::vector<xcb_atom_t> states;
        for (const std::string &s : windowSpec.states)
            states.push_back(atom(s));
        set(atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32, std::uint32_t(states.size()), states.data());
    }
    if (windowSpec.opacity)
        set(atom("_NET_WM_WINDOW_OPACITY"), XCB_ATOM_CARDINAL, 32, 1, &*windowSpec.opacity);
    if (!windowSpec.map) {
        xcb_flush(c_);
        return window;
    }

    xcb_map_window(c_, window);
    xcb_flush(c_);
    const bool withManager = windowManagerName().has_value();
    if (!waitUntil([&] { return mapNotified_.count(window) && (!withManager || (managed(window) && wmState(window) == 1)); },
                   timeout))
        throw std::runtime_error("test window \"" + windowSpec.title + "\" was not mapped in time");
    return window;
}

void XClient::destroyWindow(xcb_window_t window)
{
    xcb_destroy_window(c_, window);
    xcb_flush(c_);
}

void XClient::askManager(xcb_window_t window, const std::string &type, const std::vector<std::uint32_t> &data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(type);
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), 5), message.data.data32);
    xcb_send_event(c_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c_);
}

void XClient::watch(xcb_window_t window)
{
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c_, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c_);
}

std::vector<std::uint32_t> XClient::property32(xcb_window_t window, const std::string &name)
{
    PropertyReply reply(xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto *items = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
    return {items, items + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<std::uint32_t> XClient::cardinal(xcb_window_t window, const std::string &name)
{
    std::vector<std::uint32_t> items = property32(window, name);
    return items.empty() ? std::nullopt : std::optional(items[0]);
}

std::string XClient::text(xcb_window_t window, const std::string &name)
{
    PropertyReply reply(xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr));
    if (!reply || reply->format != 8)
        return {};
    return {static_cast<const char *>(xcb_get_property_value(reply.get())),
            std::size_t(xcb_get_property_value_length(reply.get()))};
}

std::uint32_t XClient::wmState(xcb_window_t window)
{
    return cardinal(window, "WM_STATE").value_or(0);
}

bool XClient::hasState(xcb_window_t window, const std::string &stateName)
{
    std::vector<std::uint32_t> states = property32(window, "_NET_WM_STATE");
    return std::find(states.begin(), states.end(), atom(stateName)) != states.end();
}

std::vector<xcb_window_t> XClient::clientList()
{
    return property32(root_, "_NET_CLIENT_LIST_STACKING");
}

std::vector<xcb_window_t> XClient::children(xcb_window_t window)
{
    std::unique_ptr<xcb_query_tree_reply_t, FreeDeleter> tree(
        xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr));
    if (!tree)
        return {};
    const xcb_window_t *first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
}

std::vector<xcb_window_t> XClient::descendants(xcb_window_t window)
{
    std::vector<xcb_window_t> out;
    for (xcb_window_t child : children(window)) {
        out.push_back(child);
        for (xcb_window_t below : descendants(child))
            out.push_back(below);
    }
    return out;
}

std::optional<ScreenRect> XClient::screenRect(xcb_window_t window)
{
    std::unique_ptr<xcb_get_geometry_reply_t, FreeDeleter> geometry(
        xcb_get_geometry_reply(c_, xcb_get_geometry(c_, window), nullptr));
    std::unique_ptr<xcb_translate_coordinates_reply_t, FreeDeleter> origin(
        xcb_translate_coordinates_reply(c_, xcb_translate_coordinates(c_, window, root_, 0, 0), nullptr));
    if (!geometry || !origin)
        return std::nullopt;
    return ScreenRect{origin->dst_x, origin->dst_y, geometry->width, geometry->height};
}

std::pair<std::string, std::string> XClient::wmClass(xcb_window_t window)
{
    const std::string value = text(window, "WM_CLASS");
    const std::size_t end = value.find('\0');
    if (end == std::string::npos)
        return {value, {}};
    const std::string rest = value.substr(end + 1);
    return {value.substr(0, end), rest.substr(0, rest.find('\0'))};
}

xcb_window_t XClient::selectionOwner(const std::string &selection)
{
    std::unique_ptr<xcb_get_selection_owner_reply_t, FreeDeleter> reply(
        xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, atom(selection)), nullptr));
    return reply ? reply->owner : xcb_window_t(XCB_NONE);
}

bool XClient::managed(xcb_window_t window)
{
    std::vector<xcb_window_t> clients = clientList();
    return std::find(clients.begin(), clients.end(), window) != clients.end();
}

bool XClient::viewable(xcb_window_t window)
{
    std::unique_ptr<xcb_get_window_attributes_reply_t, FreeDeleter> reply(
        xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<std::string> XClient::windowManagerName()
{
    // The manager's check window names itself in the same property (EWMH).
    const std::optional<std::uint32_t> check = cardinal(root_, "_NET_SUPPORTING_WM_CHECK");
    if (!check || cardinal(*check, "_NET_SUPPORTING_WM_CHECK") != check)
        return std::nullopt;
    return text(*check, "_NET_WM_NAME");
}

bool XClient::supports(const std::string &atomName)
{
    std::vector<std::uint32_t> supported = property32(root_, "_NET_SUPPORTED");
    return std::find(supported.begin(), supported.end(), atom(atomName)) != supported.end();
}

bool XClient::waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout)
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + timeout;
    for (;;) {
        drainEvents();
        if (condition())
            return true;
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
        ::poll(&p, 1, int(std::min<long>(left.count(), 50)));
    }
}

void XClient::drainEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(c_)) {
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY)
            mapNotified_.insert(reinterpret_cast<xcb_map_notify_event_t *>(event)->window);
        std::free(event);
    }
}

} // namespace xtest
