// Main of a GoogleTest binary whose tests need an X desktop: starts one Xvfb with openbox
// for the whole binary and points DISPLAY at it. A server or manager that cannot be
// started fails the binary.
#include "XTestMain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace {
std::unique_ptr<xtest::XServer> server;
}

xtest::XServer &xtest::testServer()
{
    return *server;
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    try {
        server = std::make_unique<xtest::XServer>();
    } catch (const std::exception &e) {
        std::cerr << "cannot start the test desktop: " << e.what() << '\n';
        return 1;
    }
    ::setenv("DISPLAY", server->display().c_str(), 1);
    const int result = RUN_ALL_TESTS();
    server.reset();
    return result;
}
