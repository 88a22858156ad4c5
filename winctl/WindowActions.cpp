#include "WindowActions.h"

#include "ChangeJournal.h"

#include <charconv>

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
    const std::vector<WindowHandle> owned = ownedWindowsToChange(hwnd);
    if (!writeToJournal(kind, hwnd, owned))
        return;
    switch (action) {
    case WindowAction::Hide:
        system_.hideWindow(hwnd);
        applyToOwnedWindows(owned, [this](WindowHandle h) { system_.hideWindow(h); });
        recordChange(window, ChangeKind::Hidden);
        break;
    case WindowAction::MakeTopmost:
        makeTopmost(window, owned);
        break;
    case WindowAction::MakeTransparent:
        makeTransparent(window, owned);
        break;
    case WindowAction::Restore:
        break;
    }
}

void WindowActions::makeTopmost(const WindowEntry &window, const std::vector<WindowHandle> &owned)
{
    system_.restoreWindow(window.hwnd);  // a minimised window comes back first
    system_.setTopmost(window.hwnd, true);
    applyToOwnedWindows(owned, [this](WindowHandle h) { system_.setTopmost(h, true); });
    recordChange(window, ChangeKind::OnTop);
}

void WindowActions::makeTransparent(const WindowEntry &window, const std::vector<WindowHandle> &owned)
{
    const auto alpha = std::uint8_t(transparencyPercent * 255 / 100);
    auto apply = [this, alpha](WindowHandle h) {
        system_.setExtendedStyle(h, system_.extendedStyle(h) | exStyleLayered);
        system_.setLayeredAlpha(h, alpha);
    };
    apply(window.hwnd);
    applyToOwnedWindows(owned, apply);
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

// The owned windows an action on owner changes. One that could not be remembered for the
// restore is left alone.
std::vector<WindowHandle> WindowActions::ownedWindowsToChange(WindowHandle owner) const
{
    std::vector<WindowHandle> out;
    std::uint32_t room = tableCapacity - touchedOwnedWindows.count();
    for (WindowHandle owned : inventory_.ownedWindows) {
        if (system_.owner(owned) != owner)
            continue;
        if (touchedOwnedWindows.contains(owned)) {
            out.push_back(owned);
        } else if (room > 0) {
            --room;
            out.push_back(owned);
        }
    }
    return out;
}

void WindowActions::applyToOwnedWindows(const std::vector<WindowHandle> &owned,
                                        const std::function<void(WindowHandle)> &call)
{
    for (WindowHandle h : owned) {
        if (!touchedOwnedWindows.contains(h))
            touchedOwnedWindows.append(h);
        call(h);
    }
}

// One record per window the change is about to touch, with what finds the window again.
bool WindowActions::writeToJournal(ChangeKind kind, WindowHandle hwnd, const std::vector<WindowHandle> &owned)
{
    std::vector<JournalRecord> records;
    auto add = [&](WindowHandle h) {
        // A window changed again keeps what it had before its first change.
        const auto kept = before_.find({h, kind});
        records.push_back({kind, h, system_.processId(h), system_.className(h),
                           kept != before_.end() ? kept->second : stateBefore(system_, inventory_.facts(), kind, h)});
    };
    add(hwnd);
    for (WindowHandle h : owned)
        add(h);
    if (journal && !journal->add(records))
        return false;
    for (const JournalRecord &record : records)
        before_.emplace(std::pair{record.window, kind}, record.before);
    return true;
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
        finishRestore(std::uint32_t(k), kind, hwnd);
    } else {
        for (const WindowEntry &other : inventory_.allWindows) {
            if (other.owner == hwnd)
                undoChange(kind, other.hwnd);
        }
    }
}

void WindowActions::restoreRecord(std::uint32_t k)
{
    const ChangeKind kind = changeRecords[k].changeKind;
    const WindowHandle hwnd = changeRecords[k].hwnd;
    undoChange(kind, hwnd);
    // Removed even when the window is gone or the change cannot be undone here, so
    // that undoing everything always ends.
    finishRestore(k, kind, hwnd);
}

void WindowActions::finishRestore(std::uint32_t k, ChangeKind kind, WindowHandle hwnd)
{
    std::vector<WindowHandle> undone{hwnd};
    before_.erase({hwnd, kind});
    for (WindowHandle touched : touchedOwnedWindows) {
        // Only the owned windows this change reached: one touched by another kind keeps
        // what it has.
        if (system_.owner(touched) == hwnd && before_.count({touched, kind})) {
            undoChange(kind, touched);
            before_.erase({touched, kind});
            undone.push_back(touched);
        }
    }
    removeRecord(k);
    if (journal && !undoingAll_)
        journal->remove(kind, undone);
}

void WindowActions::undoChange(ChangeKind kind, WindowHandle hwnd)
{
    const auto kept = before_.find({hwnd, kind});
    undoWindowChange(system_, inventory_.facts(), kind, hwnd, kept != before_.end() ? kept->second : std::string());
}

namespace {

constexpr std::string_view aboveText = "above";

std::optional<std::uint8_t> alphaBefore(std::string_view before)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(before.data(), before.data() + before.size(), value);
    if (before.empty() || error != std::errc() || end != before.data() + before.size() || value > 255)
        return std::nullopt;
    return std::uint8_t(value);
}

} // namespace

std::string stateBefore(WindowSystem &system, const SystemFacts &facts, ChangeKind kind, WindowHandle hwnd)
{
    switch (kind) {
    case ChangeKind::Hidden:
        return system.showState(hwnd);
    case ChangeKind::OnTop:
        return system.extendedStyle(hwnd) & exStyleTopmost ? std::string(aboveText) : std::string();
    case ChangeKind::Transparent:
        if (facts.canReadLayeredAlpha() && (system.extendedStyle(hwnd) & exStyleLayered)) {
            if (const std::optional<std::uint8_t> alpha = system.layeredAlpha(hwnd))
                return std::to_string(*alpha);
        }
        return {};
    case ChangeKind::None:
        break;
    }
    return {};
}

void undoWindowChange(WindowSystem &system, const SystemFacts &facts, ChangeKind kind, WindowHandle hwnd,
                      const std::string &before)
{
    switch (kind) {
    case ChangeKind::Hidden:
        system.showWindow(hwnd);
        break;
    case ChangeKind::OnTop:
        if (before != aboveText)
            system.setTopmost(hwnd, false);
        break;
    case ChangeKind::Transparent:
        if (!facts.hasLayeredWindows())
            break;
        if (const std::optional<std::uint8_t> alpha = alphaBefore(before); alpha && facts.canSetLayeredAlpha())
            system.setLayeredAlpha(hwnd, *alpha);
        else
            system.setExtendedStyle(hwnd, system.extendedStyle(hwnd) & ~exStyleLayered);
        system.redrawWindow(hwnd);
        break;
    case ChangeKind::None:
        break;
    }
}

// The journal is written once more at the end, not after every record: should the
// process die halfway, undoing again what was undone already does no harm.
void WindowActions::undoAll()
{
    undoingAll_ = true;
    while (!changeRecords.empty())
        applyWindowAction(0, WindowAction::Restore, false, ChangeKind::None, false);
    undoingAll_ = false;
    changeRecords.clear();
    touchedOwnedWindows.clear();
    before_.clear();
    if (journal)
        journal->clear();
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
