#include "shell/CTrayApp.h"
#include "shell/CommandLine.h"

#include <cstdio>

int main(int argc, char **argv)
{
    // --help and --version answer before any display is opened.
    if (const std::string answer = commandLineAnswer(std::vector<std::string>(argv + (argc > 0), argv + argc)); !answer.empty()) {
        std::fputs(answer.c_str(), stdout);
        return 0;
    }
    CTrayApp app;
    return app.run(argc, argv);
}
