#pragma once

#include "WindowInventory.h"

#include <map>
#include <utility>

class ChangeJournal;

enum class WindowAction { Hide = 1, MakeTopmost = 2, Restore = 3, MakeTransparent = 4 };

// Which requests ask for the password first.
struct ProtectionFlags {
    bool protectHide = false;
    bool protectOnTop = false;
    bool protectTransparent = false;
    bool protectRestoreHidden = false;
    bool protectRestoreOnTop = false;
    bool protectRestoreTransparent = false;
    bool protectExit = false;
};

// Changes other programs' windows and records every change so it can be undone.
class WindowActions {
public:
    explicit WindowActions(WindowInventory &inventory);

    FixedTable<WindowHandle> touchedOwnedWindows;  // owned windows changed with their owner
    FixedTable<WindowEntry> changeRecords;         // in creation order, one per window and kind

    ProtectionFlags protection;
    int transparencyPercent = 75;
    // The password check: true when the user confirmed with the right password.
    std::function<bool()> askPassword;
    int pickWindowMode = 0;  // 1 hides the picked window, 0 makes it topmost
    // Where each change is written before it is made; a change that cannot be written
    // there is not made. None: changes are not kept beyond the process.
    ChangeJournal *journal = nullptr;

    // index: a listed row for Hide, MakeTopmost and MakeTransparent. For Restore, a
    // position in changeRecords when useGivenKind is false; with useGivenKind, the
    // position among the Hidden records for Hidden, else a listed row. The window (or
    // change) it names when the call begins is the one acted on after the password
    // prompt, whatever happened to the tables meanwhile; nothing, when it is gone.
    void applyWindowAction(std::uint32_t index, WindowAction action, bool useGivenKind, ChangeKind givenKind,
                           bool askPassword);
    // Restores every record in creation order without asking for the password.
    void undoAll();
    void removeRecord(std::uint32_t k);
    // A point picked on the screen: acts on the topmost window under it and on its owner.
    void onPickPoint(int x, int y);

    // Position of the record for this window and kind, or -1.
    int findRecord(WindowHandle hwnd, ChangeKind kind) const;
    // Position in changeRecords of the given Hidden record (counted among the Hidden ones), or -1.
    int hiddenRecord(std::uint32_t position) const;

private:
    bool passesPasswordGate(bool ask, bool flag);
    bool canRecord(WindowHandle hwnd, ChangeKind kind) const;
    std::vector<WindowHandle> ownedWindowsToChange(WindowHandle owner) const;
    void applyToOwnedWindows(const std::vector<WindowHandle> &owned, const std::function<void(WindowHandle)> &call);
    bool writeToJournal(ChangeKind kind, WindowHandle hwnd, const std::vector<WindowHandle> &owned);
    void recordChange(const WindowEntry &window, ChangeKind kind);
    void restore(std::uint32_t index, bool useGivenKind, ChangeKind givenKind, bool askPassword);
    void restoreRecord(std::uint32_t k);
    // After the change of record k was undone on its window hwnd: undoes it on the touched
    // windows hwnd owns, then removes the record and its journal lines.
    void finishRestore(std::uint32_t k, ChangeKind kind, WindowHandle hwnd);
    void undoChange(ChangeKind kind, WindowHandle hwnd);
    void makeTopmost(const WindowEntry &window, const std::vector<WindowHandle> &owned);
    void makeTransparent(const WindowEntry &window, const std::vector<WindowHandle> &owned);

    WindowInventory &inventory_;
    WindowSystem &system_;
    bool undoingAll_ = false;  // the journal goes as a whole at the end
    // Each changed window's state before its first change of a kind (stateBefore), kept
    // until that change is undone.
    std::map<std::pair<WindowHandle, ChangeKind>, std::string> before_;
};

// What a window has now that a change of this kind would take away, as the text its
// undoing gives back: the show state for Hidden, "above" for a window in the topmost band
// already, the alpha of a window translucent already. Empty when there is nothing to keep.
std::string stateBefore(WindowSystem &system, const SystemFacts &facts, ChangeKind kind, WindowHandle hwnd);
// Undoes a change of this kind on one window: shows it, takes it out of the topmost band
// or makes it opaque, unless before says it had been on top or translucent already, when
// it stays on top or gets its own alpha back.
void undoWindowChange(WindowSystem &system, const SystemFacts &facts, ChangeKind kind, WindowHandle hwnd,
                      const std::string &before = {});
