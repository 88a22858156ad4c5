// Opens one window the way an ordinary program does and keeps it until its standard
// input closes. Arguments: display, class, title, window it is transient for (0: none).
#include "XTestClient.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s DISPLAY CLASS TITLE TRANSIENT-FOR\n", argv[0]);
        return 2;
    }
    try {
        xtest::XClient client(argv[1]);
        xtest::WindowSpec windowSpec;
        windowSpec.className = argv[2];
        windowSpec.title = argv[3];
        windowSpec.pid = std::uint32_t(::getpid());
        windowSpec.transientFor = xcb_window_t(std::stoul(argv[4]));
        const xcb_window_t window = client.openWindow(windowSpec);
        std::printf("%u\n", unsigned(window));
        std::fflush(stdout);
        char c;
        while (::read(0, &c, 1) > 0) {
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
