#include "shell/CTrayApp.h"

#include "CMainDialog.h"
#include "platform/TerminationSignals.h"
#include "platform/x11/QtX11Window.h"
#include "platform/x11/X11WindowSystem.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <exception>
#include <memory>

int CTrayApp::run(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setDesktopFileName(QStringLiteral("example.kesto.PaneKeeper"));
    app.setQuitOnLastWindowClosed(false);  // the hidden dialog is no reason to end
    TerminationSignals termination;

    std::unique_ptr<X11WindowSystem> system;
    try {
        system = std::make_unique<X11WindowSystem>();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "panekeeper: %s\n", e.what());
        return 1;
    }
    // Property changes of other windows are taken in as they come, even while hidden.
    QSocketNotifier windowEvents(system->fileDescriptor(), QSocketNotifier::Read);
    QObject::connect(&windowEvents, &QSocketNotifier::activated, [&system] { system->processEvents(); });

    CMainDialog dialog(*system);
    if (!dialog.initialise(app.arguments().mid(1)))
        return 0;
    // The dialog's class, so that a copy started later finds it.
    setWindowClass(&dialog, "panekeeper", "#32770");
    MapWatch shownFromOutside(&dialog, [&dialog] { dialog.show(); });

    QObject::connect(&dialog, &CMainDialog::ended, &app, &QApplication::quit);
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &dialog, &CMainDialog::endProgram);
    // However the session ends the program, every change is undone first.
    QObject::connect(&app, &QApplication::aboutToQuit, &dialog, &CMainDialog::endProgram);
    dialog.startInTray();
    return app.exec();
}
