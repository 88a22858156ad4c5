#include "shell/CTrayApp.h"

#include <QApplication>

int CTrayApp::run(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}
