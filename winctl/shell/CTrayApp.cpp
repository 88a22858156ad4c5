#include "shell/CTrayApp.h"

#include "CMainDialog.h"
#include "ChangeJournal.h"
#include "platform/ExitHook.h"
#include "platform/TerminationSignals.h"
#include "platform/x11/QtX11Window.h"
#include "platform/x11/SingleCopyLock.h"
#include "platform/x11/X11WindowSystem.h"

#include <QApplication>
#include <QSocketNotifier>

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

namespace {

// Another copy holds the claim and may still be starting: its dialog is looked for until
// it is there. False when the claim comes free meanwhile (that copy ended first).
bool showRunningCopy(X11WindowSystem &system, SingleCopyLock &claim)
{
    const SystemFacts facts = readSystemFacts(system);
    WindowInventory inventory(system, facts);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (CMainDialog::showRunningCopy(inventory))
            return true;
        if (claim.take())
            return false;
        ::poll(nullptr, 0, 50);
    }
    return true;
}

// This copy's journal, once the journals that ended copies left for this display are put
// back. None where the user has no private folder for it: changes then last only as long
// as this copy.
std::unique_ptr<ChangeJournal> openJournal(X11WindowSystem &system)
{
    const std::optional<std::filesystem::path> folder = journalFolder();
    if (!folder) {
        std::fprintf(stderr, "panekeeper: no private folder for the change journal; changes will not outlive "
                             "this copy if it is killed\n");
        return nullptr;
    }
    const JournalDisplay display{system.displayName(), system.serverMark()};
    for (const std::string &message : replayJournals(*folder, display, system, readSystemFacts(system)))
        std::fprintf(stderr, "panekeeper: %s\n", message.c_str());
    return std::make_unique<ChangeJournal>(*folder, JournalHeader{display, thisProcess()});
}

} // namespace

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

    // Taken before the dialog exists: of two copies started together, one stays.
    const QStringList arguments = app.arguments().mid(1);
    std::unique_ptr<SingleCopyLock> claim;
    std::unique_ptr<ChangeJournal> journal;  // outlives the dialog, which undoes all as it goes
    if (!CMainDialog::isSettingsOnlyStart(arguments)) {
        claim = std::make_unique<SingleCopyLock>();
        if (!claim->held() && showRunningCopy(*system, *claim))
            return 0;
        journal = openJournal(*system);
    }

    CMainDialog dialog(*system);
    dialog.actions.journal = journal.get();
    if (!dialog.initialise(arguments))
        return 0;
    // Qt ends the process with exit() when its own connection to the X server is killed:
    // the changes are undone over the backend's connection, which lives on.
    ExitHook undoAtExit([&] {
        dialog.actions.undoAll();
        system->sync();
    });
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
