#pragma once

#include "SystemFacts.h"
#include "WindowActions.h"
#include "WindowInventory.h"

#include <QDialog>
#include <QIcon>
#include <QPoint>
#include <QSystemTrayIcon>

#include <memory>

class CEnterPasswordDialog;
class CMainSettingsPage;
class CScreenPicker;
class CSecurityPage;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;

// The program's only main window: lists the desktop's windows and changes them, and
// lives as a tray icon while it is hidden. Closing it only hides it; the program ends
// through the tray menu's "E&xit" (or a termination request of the session).
class CMainDialog : public QDialog {
    Q_OBJECT
    WindowSystem &system_;  // first: the inventory below is built over it

public:
    enum ControlId {
        ListView = 1001,
        RefreshButton = 1003,
        HideButton = 1004,
        ShowButton = 1005,
        MakeTopmostButton = 1006,
        RestoreButton = 1007,
        MakeTransparentButton = 1008,
        MakeOpaqueButton = 1009,
        PercentBox = 1013,
        PercentLabel = 1015,
        GroupingBox = 1016,
        ProgramIcon = 1022,
        CloseButton = 1,
        AboutButton = 115,
    };
    enum ButtonState { ListedRowSelected = 1, HiddenRowSelected = 2, NothingSelected = 3 };
    enum Command {
        OpenDialogCommand = 32779,
        SettingsCommand = 32794,
        AboutCommand = 32784,
        ExitCommand = 32778,
        FirstWindowCommand = 1067,
        LastWindowCommand = 3024,
    };

    explicit CMainDialog(WindowSystem &system, QWidget *parent = nullptr);
    ~CMainDialog() override;

    SystemFacts facts;
    WindowInventory inventory{system_, facts};
    WindowActions actions{inventory};
    bool rebuildPending = true;

    // The start: false when the program is to end at once (a copy already runs).
    bool initialise(const QStringList &arguments);
    // "settings" anywhere in the arguments: the settings sheet alone, and the end.
    static bool isSettingsOnlyStart(const QStringList &arguments);
    // Shows the dialog of a copy of the program that runs already; false when there is none.
    static bool showRunningCopy(WindowInventory &inventory);

    void refreshWindowList();
    void updateButtons(ButtonState state);
    void onSelectionChanged(int row);
    int selectedRow() const;

    QWidget *control(int id) const;
    QTreeWidget *listView() const { return listView_; }

    // Tray side. Without a tray on the desktop the dialog stays shown.
    bool trayPresent = false;
    void startInTray();
    QSystemTrayIcon *trayIcon() const { return trayIcon_.get(); }
    bool refreshTimerRunning() const { return refreshTimer_ != 0; }
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
    // Fills the tray menu as it is about to be shown; the menu and its three window submenus.
    void buildTrayMenu();
    QMenu *trayMenu() const { return trayMenu_.get(); }
    void onCommand(int id);
    CScreenPicker *picker() const { return picker_.get(); }
    void showDialog();
    void hideDialog();
    // Undoes every change, removes the tray icon and ends the program.
    void endProgram();

    // The password check of guarded requests: true when the right password was typed.
    // While it is open the list is not refreshed.
    bool askPassword();
    CEnterPasswordDialog &enterPasswordDialog() const { return *enterPassword_; }

    // Settings: the store's values go to the pages' fields and into this dialog.
    std::string storedPassword;
    CMainSettingsPage &mainPage() const { return *mainPage_; }
    CSecurityPage &securityPage() const { return *securityPage_; }
    void loadSettings();
    void saveSettings();
    // The sheet from the tray menu: the store's values first, and in force at once after "OK".
    void openSettings();
    // The start with the argument "settings": the sheet alone.
    void runSettingsOnly();

    static QIcon iconForEntry(WindowSystem &system, const WindowEntry &entry);

signals:
    void ended();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void reject() override;

private:
    void createControls();
    void setupListView();
    bool listViewDiffers() const;
    void rebuildListView();
    QString shownOpacity(const WindowEntry &entry) const;
    void onActionButton(int id);
    void onGroupingClicked();
    void showAboutBox();
    void enterTray();
    void showTrayMenu();
    void startPicker(int mode);
    void addWindowItem(QMenu *menu, int id, const std::string &title, const QIcon &icon);
    void addSelectItem(QMenu *menu, int id);
    bool runSettingsSheet(QWidget *parent);

    QTreeWidget *listView_ = nullptr;
    QLineEdit *percentBox_ = nullptr;
    QLabel *percentLabel_ = nullptr;
    QCheckBox *groupingBox_ = nullptr;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    std::unique_ptr<QMenu> trayMenu_;
    QMenu *hideMenu_ = nullptr;
    QMenu *topmostMenu_ = nullptr;
    QMenu *restoreMenu_ = nullptr;
    int menuListedCount_ = 0;  // n and m of the menu last built
    int menuRecordCount_ = 0;
    QPoint menuPosition_;
    std::unique_ptr<CScreenPicker> picker_;
    std::unique_ptr<CMainSettingsPage> mainPage_;
    std::unique_ptr<CSecurityPage> securityPage_;
    std::unique_ptr<CEnterPasswordDialog> enterPassword_;
    int refreshTimer_ = 0;
    bool ending_ = false;
    bool promptOpen_ = false;  // the password prompt: the list stays as it was
};
