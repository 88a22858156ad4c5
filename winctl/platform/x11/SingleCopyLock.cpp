#include "platform/x11/SingleCopyLock.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr const char *selectionName = "_PANEKEEPER_RUNNING";

template <typename T>
std::unique_ptr<T, decltype(&std::free)> reply(T *r)
{
    return {r, &std::free};
}

} // namespace

SingleCopyLock::SingleCopyLock(const char *displayName)
{
    int screenNumber = 0;
    c_ = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(c_)) {
        held_ = true;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c_));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    window_ = xcb_generate_id(c_);
    const std::uint32_t overrideRedirect = 1;
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screens.data->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT, &overrideRedirect);
    auto atom = reply(xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, std::uint16_t(std::strlen(selectionName)), selectionName), nullptr));
    selection_ = atom ? atom->atom : std::uint32_t(XCB_ATOM_NONE);
    held_ = selection_ == XCB_ATOM_NONE;  // nothing to claim: as without a display
    take();
}

SingleCopyLock::~SingleCopyLock()
{
    xcb_disconnect(c_);
}

bool SingleCopyLock::take()
{
    if (held_ || xcb_connection_has_error(c_))
        return held_;
    // With the server grabbed no other client's request comes between the look and the take.
    xcb_grab_server(c_);
    auto owner = reply(xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, selection_), nullptr));
    if (owner && owner->owner == XCB_NONE)
        xcb_set_selection_owner(c_, window_, selection_, XCB_CURRENT_TIME);
    xcb_ungrab_server(c_);
    owner = reply(xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, selection_), nullptr));
    held_ = owner && owner->owner == window_;
    return held_;
}
