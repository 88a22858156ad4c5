// The main dialog as the application shell: start, tray icon, refresh timer, tray menu
// and the end of the program.
#include "CMainDialog.h"

#include "CScreenPicker.h"
#include "platform/ModalDialogs.h"
#include "resources/Resources.h"
#include "shell/Settings.h"

#include <QCursor>
#include <QMenu>
#include <QShowEvent>
#include <QTimerEvent>

namespace {

constexpr const char *dialogClassName = "#32770";

QString itemText(const std::string &title)
{
    // Titles show as they are: a "&" of theirs marks no shortcut.
    return QStringLiteral("  ") + QString::fromStdString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

bool CMainDialog::isSettingsOnlyStart(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument.contains(QLatin1String("settings")))
            return true;
    }
    return false;
}

bool CMainDialog::showRunningCopy(WindowInventory &inventory)
{
    bool found = false;
    inventory.previousCopyCheck = [&](WindowHandle hwnd, const std::string &className, const std::string &title) {
        if (title == resources::dialogTitle && className == dialogClassName) {
            inventory.system().showWindow(hwnd);
            found = true;
        }
    };
    inventory.enumerateWindows(1);
    inventory.previousCopyCheck = nullptr;
    return found;
}

bool CMainDialog::initialise(const QStringList &arguments)
{
    if (isSettingsOnlyStart(arguments)) {
        runSettingsOnly();
        return false;
    }
    // A copy already running shows its dialog and this one ends. This dialog's own title
    // is not the one looked for meanwhile.
    setWindowTitle(QStringLiteral("hm"));
    const bool found = showRunningCopy(inventory);
    setWindowTitle(QString::fromLatin1(resources::dialogTitle));
    if (found)
        return false;

    facts = readSystemFacts(system_);
    createDefaultSettings();
    loadSettings();
    setupListView();

    trayIcon_ = std::make_unique<QSystemTrayIcon>(resources::programIcon());
    trayIcon_->setToolTip(QLatin1String(resources::programName));
    connect(trayIcon_.get(), &QSystemTrayIcon::activated, this, &CMainDialog::onTrayActivated);
    trayMenu_ = std::make_unique<QMenu>();
    auto command = [this](QMenu *menu, const QString &text, int id) {
        QAction *action = menu->addAction(text);
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        return action;
    };
    trayMenu_->setDefaultAction(command(trayMenu_.get(), QStringLiteral("Open &PaneKeeper Dialog"), OpenDialogCommand));
    trayMenu_->addSeparator();
    hideMenu_ = trayMenu_->addMenu(QStringLiteral("&Hide Window"));
    topmostMenu_ = trayMenu_->addMenu(QStringLiteral("Make Window Always on &Top"));
    restoreMenu_ = trayMenu_->addMenu(QStringLiteral("&Restore Window"));
    trayMenu_->addSeparator();
    command(trayMenu_.get(), QStringLiteral("&Settings"), SettingsCommand);
    command(trayMenu_.get(), QStringLiteral("&About"), AboutCommand);
    trayMenu_->addSeparator();
    command(trayMenu_.get(), QStringLiteral("E&xit"), ExitCommand);

    trayPresent = QSystemTrayIcon::isSystemTrayAvailable();
    updateButtons(NothingSelected);  // and the first list
    return true;
}

// The program starts as a tray icon only; its dialog shows where no tray can hold it.
void CMainDialog::startInTray()
{
    if (trayPresent) {
        winId();  // a copy started later must find the hidden dialog
        enterTray();
    } else {
        showDialog();
    }
}

void CMainDialog::enterTray()
{
    if (refreshTimer_)
        killTimer(refreshTimer_);
    refreshTimer_ = 0;
    if (trayPresent && trayIcon_)
        trayIcon_->show();
}

void CMainDialog::showDialog()
{
    showNormal();
    raise();
    activateWindow();
}

void CMainDialog::hideDialog()
{
    if (trayPresent)
        hide();
    else
        showMinimized();  // without a tray the dialog stays within reach
}

void CMainDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || ending_)
        return;
    if (trayIcon_)
        trayIcon_->hide();
    if (refreshTimer_)
        killTimer(refreshTimer_);
    refreshTimer_ = startTimer(100);
    if (!refreshTimer_)
        modal::message(this, QStringLiteral("cannot install timer!"), QLatin1String(resources::programName),
                       modal::Icon::None);
    refreshWindowList();
}

void CMainDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && !ending_)
        enterTray();
}

void CMainDialog::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != refreshTimer_) {
        QDialog::timerEvent(event);
        return;
    }
    refreshWindowList();
    onSelectionChanged(selectedRow());
}

void CMainDialog::onTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Context:
        if (isVisible())
            refreshWindowList();
        else
            showTrayMenu();
        break;
    case QSystemTrayIcon::DoubleClick:
        showDialog();
        break;
    default:
        refreshWindowList();  // the inventory is fresh when the menu opens
        break;
    }
}

void CMainDialog::showTrayMenu()
{
    buildTrayMenu();
    trayMenu_->popup(menuPosition_, trayMenu_->defaultAction());
}

void CMainDialog::buildTrayMenu()
{
    refreshWindowList();
    menuPosition_ = QCursor::pos();
    hideMenu_->clear();
    topmostMenu_->clear();
    restoreMenu_->clear();

    const int n = int(inventory.listedWindows.count());
    const int m = int(actions.changeRecords.count());
    menuListedCount_ = n;
    menuRecordCount_ = m;
    for (int i = 0; i < n; ++i) {
        const WindowEntry &entry = inventory.listedWindows[std::uint32_t(i)];
        const QIcon icon = iconForEntry(system_, entry);
        addWindowItem(hideMenu_, FirstWindowCommand + i, entry.title, icon);
        addWindowItem(topmostMenu_, FirstWindowCommand + 1 + n + i, entry.title, icon);
    }
    addSelectItem(hideMenu_, FirstWindowCommand + n);
    addSelectItem(topmostMenu_, FirstWindowCommand + 1 + 2 * n);
    if (m == 0)
        restoreMenu_->addAction(QStringLiteral("  Empty"))->setEnabled(false);
    for (int k = 0; k < m; ++k) {
        const WindowEntry &record = actions.changeRecords[std::uint32_t(k)];
        addWindowItem(restoreMenu_, FirstWindowCommand + 2 + 2 * n + k, record.title, iconForEntry(system_, record));
    }
}

// Ids past the command range would collide with other commands: such items are not offered.
void CMainDialog::addWindowItem(QMenu *menu, int id, const std::string &title, const QIcon &icon)
{
    if (id > LastWindowCommand)
        return;
    QAction *action = menu->addAction(icon, itemText(title));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
}

void CMainDialog::addSelectItem(QMenu *menu, int id)
{
    if (id > LastWindowCommand)
        return;
    menu->addSeparator();
    addWindowItem(menu, id, "Select...", QIcon());
}

void CMainDialog::onCommand(int id)
{
    switch (id) {
    case OpenDialogCommand:
        showDialog();
        return;
    case SettingsCommand:
        openSettings();
        return;
    case AboutCommand:
        showAboutBox();
        return;
    case ExitCommand:
        if (actions.protection.protectExit && !askPassword())
            return;
        endProgram();
        return;
    }
    if (id < FirstWindowCommand || id > LastWindowCommand)
        return;
    const auto n = std::uint32_t(menuListedCount_);
    const auto m = std::uint32_t(menuRecordCount_);
    const auto k = std::uint32_t(id - FirstWindowCommand);
    // The picker's list is the one taken before it showed: a list taken after would
    // hold the picker itself, above every window.
    if (k == n || k == 2 * n + 1) {
        startPicker(k == n ? 1 : 0);
        return;
    }
    if (k < n)
        actions.applyWindowAction(k, WindowAction::Hide, false, ChangeKind::Hidden, true);
    else if (k < 2 * n + 1)
        actions.applyWindowAction(k - n - 1, WindowAction::MakeTopmost, false, ChangeKind::OnTop, true);
    else if (k < 2 * n + 2 + m)
        actions.applyWindowAction(k - 2 * n - 2, WindowAction::Restore, false, ChangeKind::None, true);
    refreshWindowList();
}

void CMainDialog::startPicker(int mode)
{
    actions.pickWindowMode = mode;
    refreshWindowList();
    hide();
    picker_->showFrozen(CScreenPicker::grabScreen());
}

void CMainDialog::endProgram()
{
    if (ending_)
        return;
    ending_ = true;
    actions.undoAll();
    if (refreshTimer_)
        killTimer(refreshTimer_);
    refreshTimer_ = 0;
    if (trayIcon_)
        trayIcon_->hide();
    hide();
    emit ended();
}
