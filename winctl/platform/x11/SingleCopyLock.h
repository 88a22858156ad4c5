#pragma once

#include <cstdint>

struct xcb_connection_t;

// The claim to be the one running copy of the program on an X display: the ownership of
// an X selection, looked at and taken with the server grabbed, so that of two copies
// started at the same moment exactly one gets it. It is held while the object lives, on
// a connection of its own, and the server frees it when the process ends, however it ends.
class SingleCopyLock {
public:
    // On the named display, or on $DISPLAY when null; without a display there is no other
    // copy to meet, and the claim counts as held.
    explicit SingleCopyLock(const char *displayName = nullptr);
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock &) = delete;
    SingleCopyLock &operator=(const SingleCopyLock &) = delete;

    bool held() const { return held_; }
    // Tries to take the claim again (its holder may have ended); true when it is held.
    bool take();

private:
    xcb_connection_t *c_ = nullptr;
    std::uint32_t window_ = 0;     // the selection's owner, never shown
    std::uint32_t selection_ = 0;  // its atom
    bool held_ = false;
};
