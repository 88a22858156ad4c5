// Main of the test binaries whose widgets need no screen: Qt's offscreen platform, and
// every modal dialog answered by a script of the test (or refused and reported).
#include "platform/ModalDialogs.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    modal::startScripting();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
