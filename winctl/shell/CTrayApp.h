#pragma once

// The application object: runs the main dialog for the whole life of the program.
class CTrayApp {
public:
    int run(int argc, char **argv);
};
