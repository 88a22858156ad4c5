#pragma once

#include "XTestServer.h"

namespace xtest {

// The X server that the test binary's main started for all its tests.
XServer &testServer();

} // namespace xtest
