#pragma once

#include <string>
#include <vector>

// What "--help" or "--version" prints instead of starting (the first of them given wins);
// empty for any other command line, which starts the program ("settings": the sheet alone).
std::string commandLineAnswer(const std::vector<std::string> &arguments);
