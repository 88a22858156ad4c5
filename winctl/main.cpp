#include "shell/CTrayApp.h"

int main(int argc, char **argv)
{
    CTrayApp app;
    return app.run(argc, argv);
}
