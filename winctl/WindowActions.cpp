#include "WindowActions.h"

namespace {

const char *titleSuffix(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Hidden: return " (hidden)";
    case ChangeKind::OnTop: return " (on top)";
    case ChangeKind::Transparent: return " (transparent)";
    case ChangeKind::None: break;
    }
    return "";
}

} // namespace

WindowActions::WindowActions(WindowInventory &inventory) : inventory_(inventory), system_(inventory.system()) {}

void WindowActions::applyWindowAction(std::uint32_t index, WindowAction action, bool useGivenKind,
                                      ChangeKind givenKind, bool askPassword)
{
    if (action == WindowAction::Restore) {
        restore(index, useGivenKind, givenKind, askPassword);
        return;
    }
    if (index >= inventory_.listedWindows.count())
        return;
    // The password prompt runs an event loop, in which the list may be built anew: the
    // window is held by its handle and found again after the prompt.
    const WindowHandle hwnd = inventory_.listedWindows[index].hwnd;
    const auto kind = ChangeKind(int(action));
    bool flag = protection.protectHide;
    if (action == WindowAction::MakeTopmost) {
        flag = protection.protectOnTop;
    } else if (action == WindowAction::MakeTransparent) {
        // Percentages outside 0..100 would wrap around in the alpha byte.
        if (!inventory_.facts().canSetLayeredAlpha() || transparencyPercent < 0 || transparencyPercent > 100)
            return;
        flag = protection.protectTransparent;
    }
    if (!passesPasswordGate(askPassword, flag))
        return;
    const int row = inventory_.listedRow(hwnd);
    if (row < 0 || !canRecord(hwnd, kind))
        return;
    const WindowEntry &window = inventory_.listedWindows[std::uint32_t(row)];
    switch (action) {
    case WindowAction::Hide:
        system_.hideWindow(hwnd);
        applyToOwnedWindows(hwnd, [this](WindowHandle h) { system_.hideWindow(h); });
        recordChange(window, ChangeKind::Hidden);
        break;
    case WindowAction::MakeTopmost:
        makeTopmost(window);
        break;
    case WindowAction::MakeTransparent:
        makeTransparent(window);
        break;
    case WindowAction::Restore:
        break;
    }
}

void WindowActions::makeTopmost(const WindowEntry &window)
{
    system_.restoreWindow(window.hwnd);  // a minimised window comes back first
    system_.setTopmost(window.hwnd, true);
    applyToOwnedWindows(window.hwnd, [this](WindowHandle h) { system_.setTopmost(h, true); });
    recordChange(window, ChangeKind::OnTop);
}

void WindowActions::makeTransparent(const WindowEntry &window)
{
    const auto alpha = std::uint8_t(transparencyPercent * 255 / 100);
    auto apply = [this, alpha](WindowHandle h) {
        system_.setExtendedStyle(h, system_.extendedStyle(h) | exStyleLayered);
        system_.setLayeredAlpha(h, alpha);
    };
    apply(window.hwnd);
    applyToOwnedWindows(window.hwnd, apply);
    recordChange(window, ChangeKind::Transparent);
}

bool WindowActions::passesPasswordGate(bool ask, bool flag)
{
    if (!ask || !flag)
        return true;
    return askPassword && askPassword();
}

// A change is only made when undo can find it again: its record exists or fits.
bool WindowActions::canRecord(WindowHandle hwnd, ChangeKind kind) const
{
    return findRecord(hwnd, kind) >= 0 || !changeRecords.full();
}

void WindowActions::applyToOwnedWindows(WindowHandle owner, const std::function<void(WindowHandle)> &call)
{
    for (WindowHandle owned : inventory_.ownedWindows) {
        if (system_.owner(owned) != owner)
            continue;
        // An owned window that could not be remembered for the restore is left alone.
        if (!touchedOwnedWindows.contains(owned) && !touchedOwnedWindows.append(owned))
            continue;
        call(owned);
    }
}

void WindowActions::recordChange(const WindowEntry &window, ChangeKind kind)
{
    if (int k = findRecord(window.hwnd, kind); k >= 0) {
        if (kind == ChangeKind::Transparent)
            changeRecords[std::uint32_t(k)].opacityText = formatOpacity(transparencyPercent);
        return;
    }
    WindowEntry record = window;
    record.title += titleSuffix(kind);
    record.changeKind = kind;
    if (kind == ChangeKind::Transparent)
        record.opacityText = formatOpacity(transparencyPercent);
    if (kind == ChangeKind::OnTop)
        record.topmostText = noText;
    changeRecords.append(record);
}

void WindowActions::restore(std::uint32_t index, bool useGivenKind, ChangeKind givenKind, bool askPassword)
{
    // The change to undo is held by its window's handle across the password prompt, as
    // the records and the list may change while it is open.
    ChangeKind kind = givenKind;
    WindowHandle hwnd = 0;
    bool fromRecord = true;
    if (!useGivenKind) {
        if (index >= changeRecords.count())
            return;
        hwnd = changeRecords[index].hwnd;
        kind = changeRecords[index].changeKind;
    } else if (kind == ChangeKind::Hidden) {
        const int record = hiddenRecord(index);
        if (record < 0)
            return;
        hwnd = changeRecords[std::uint32_t(record)].hwnd;
    } else {
        if (index >= inventory_.listedWindows.count())
            return;
        hwnd = inventory_.listedWindows[index].hwnd;
        fromRecord = false;
    }

    const bool flag = kind == ChangeKind::Hidden ? protection.protectRestoreHidden
                      : kind == ChangeKind::OnTop ? protection.protectRestoreOnTop
                                                  : protection.protectRestoreTransparent;
    if (!passesPasswordGate(askPassword, flag))
        return;

    if (fromRecord) {
        if (const int k = findRecord(hwnd, kind); k >= 0)
            restoreRecord(std::uint32_t(k));
        return;
    }
    // The dialog's restore of a listed window, made topmost or transparent here or elsewhere.
    if (inventory_.listedRow(hwnd) < 0)
        return;
    undoChange(kind, hwnd);
    if (int k = findRecord(hwnd, kind); k >= 0) {
        for (WindowHandle touched : touchedOwnedWindows) {
            if (system_.owner(touched) == hwnd)
                undoChange(kind, touched);
        }
        removeRecord(std::uint32_t(k));
    } else {
        for (const WindowEntry &other : inventory_.allWindows) {
            if (other.owner == hwnd)
                undoChange(kind, other.hwnd);
        }
    }
}

void WindowActions::restoreRecord(std::uint32_t k)
{
    const WindowEntry &record = changeRecords[k];
    undoChange(record.changeKind, record.hwnd);
    for (WindowHandle touched : touchedOwnedWindows) {
        if (system_.owner(touched) == record.hwnd)
            undoChange(record.changeKind, touched);
    }
    // Removed even when the window is gone or the change cannot be undone here, so
    // that undoing everything always ends.
    removeRecord(k);
}

void WindowActions::undoChange(ChangeKind kind, WindowHandle hwnd)
{
    switch (kind) {
    case ChangeKind::Hidden:
        system_.showWindow(hwnd);
        break;
    case ChangeKind::OnTop:
        system_.setTopmost(hwnd, false);
        break;
    case ChangeKind::Transparent:
        if (inventory_.facts().hasLayeredWindows()) {
            system_.setExtendedStyle(hwnd, system_.extendedStyle(hwnd) & ~exStyleLayered);
            system_.redrawWindow(hwnd);
        }
        break;
    case ChangeKind::None:
        break;
    }
}

void WindowActions::undoAll()
{
    while (!changeRecords.empty())
        applyWindowAction(0, WindowAction::Restore, false, ChangeKind::None, false);
    changeRecords.clear();
    touchedOwnedWindows.clear();
}

void WindowActions::removeRecord(std::uint32_t k)
{
    changeRecords.removeAt(k);
}

void WindowActions::onPickPoint(int x, int y)
{
    const WindowAction action = pickWindowMode == 1 ? WindowAction::Hide : WindowAction::MakeTopmost;
    const ChangeKind kind = pickWindowMode == 1 ? ChangeKind::Hidden : ChangeKind::OnTop;
    for (const WindowEntry &candidate : inventory_.allWindows) {
        const std::optional<WindowRect> rect = system_.windowRect(candidate.hwnd);
        if (!rect || !rect->contains(x, y))
            continue;
        // Copies: the first request's password prompt may let the tables be rebuilt.
        const WindowHandle hwnd = candidate.hwnd, owner = candidate.owner;
        if (int row = inventory_.listedRow(hwnd); row >= 0)
            applyWindowAction(std::uint32_t(row), action, false, kind, true);
        if (int ownerRow = owner ? inventory_.listedRow(owner) : -1; ownerRow >= 0)
            applyWindowAction(std::uint32_t(ownerRow), action, false, kind, true);
        return;
    }
}

int WindowActions::findRecord(WindowHandle hwnd, ChangeKind kind) const
{
    for (std::uint32_t k = 0; k < changeRecords.count(); ++k) {
        if (changeRecords[k].hwnd == hwnd && changeRecords[k].changeKind == kind)
            return int(k);
    }
    return -1;
}

int WindowActions::hiddenRecord(std::uint32_t position) const
{
    for (std::uint32_t k = 0; k < changeRecords.count(); ++k) {
        if (changeRecords[k].changeKind == ChangeKind::Hidden && position-- == 0)
            return int(k);
    }
    return -1;
}
