#include "shell/CommandLine.h"

// PANEKEEPER_VERSION comes from the build.

std::string commandLineAnswer(const std::vector<std::string> &arguments)
{
    for (const std::string &argument : arguments) {
        if (argument == "--version")
            return "panekeeper " PANEKEEPER_VERSION "\n";
        if (argument == "--help")
            return "Usage: panekeeper [settings | --help | --version]\n"
                   "Lists the desktop's windows from the tray and hides, shows, keeps on top or makes\n"
                   "translucent other programs' windows; every change is undone when it ends.\n"
                   "\n"
                   "  settings   show only the settings sheet\n"
                   "  --help     print this text and end\n"
                   "  --version  print the version and end\n"
                   "\n"
                   "Needs an X11 desktop with an EWMH window manager. Settings live in\n"
                   "/var/lib/panekeeper ($PANEKEEPER_MACHINE_STORE) and ~/.config/panekeeper.\n";
    }
    return {};
}
