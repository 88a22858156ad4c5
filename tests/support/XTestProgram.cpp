#include "XTestProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace xtest {

std::string XProgram::executable()
{
    return XTEST_WINDOW_PROGRAM;
}

XProgram::XProgram(const std::string &display, const std::string &className, const std::string &title,
                   xcb_window_t transientFor)
{
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        throw std::runtime_error("cannot make a pipe");
    }
    try {
        process_ = spawnProgram({executable(), display, className, title, std::to_string(transientFor)}, {},
                                {{in[0], 0}, {out[1], 1}});
    } catch (...) {
        for (int fd : {in[0], in[1], out[0], out[1]})
            ::close(fd);
        throw;
    }
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];

    // The program prints its window's id once the window is mapped and managed.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    char c = 0;
    while (line.empty() || line.back() != '\n') {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{out[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0 || ::read(out[0], &c, 1) != 1) {
            ::close(out[0]);
            ::close(input_);
            throw std::runtime_error("the test window program did not open its window \"" + title + "\"");
        }
        line += c;
    }
    ::close(out[0]);
    window_ = xcb_window_t(std::stoul(line));
}

XProgram::~XProgram()
{
    ::close(input_);
    if (!process_.waitForExit(std::chrono::seconds(5)))
        process_.stop();
}

} // namespace xtest
