// The settings sheet and the password checks of the main dialog, under Qt's offscreen
// platform with the store in temporary folders.
#include "DialogFixture.h"

#include "platform/Autostart.h"
#include "platform/RegistryStore.h"
#include "shell/CPasswordDialogs.h"
#include "shell/CSettingsSheet.h"
#include "shell/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>

namespace {

using Id = CMainDialog::ControlId;

class SettingsDialogTest : public DialogFixture {
protected:
    // Sets the stored values before the program starts.
    void store(const SettingsValues &values)
    {
        createDefaultSettings();
        ASSERT_TRUE(writeSettings(values));
    }

    static SettingsValues protectedBy(bool ProtectionFlags::*flag, const std::string &password = "Secret")
    {
        SettingsValues values;
        values.protection.*flag = true;
        values.storedPassword = password;
        return values;
    }

    // Answers the next settings sheet: the edit runs on its pages, then "OK" is pressed.
    static void editSheet(std::function<void(QWidget &mainPage, QWidget &securityPage)> edit)
    {
        modal::expect([edit](QDialog &d) {
            auto &sheet = dynamic_cast<CSettingsSheet &>(d);
            edit(*sheet.tabs()->widget(0), *sheet.tabs()->widget(1));
            sheet.accept();
        });
    }

    static SettingsValues stored()
    {
        SettingsValues values{false, -1, {}, "unread"};
        readSettings(values);
        return values;
    }
};

TEST_F(SettingsDialogTest, TheFirstStartWritesTheDefaultsAndShowsThem)
{
    start();
    const SettingsValues values = stored();
    EXPECT_TRUE(values.groupByDefault);
    EXPECT_EQ(values.defaultTransparency, 75);
    EXPECT_EQ(values.storedPassword, "");
    EXPECT_EQ(control<QLineEdit>(Id::PercentBox)->text(), "75");
    EXPECT_TRUE(control<QCheckBox>(Id::GroupingBox)->isChecked());
}

TEST_F(SettingsDialogTest, TheNextStartTakesTheStoredValues)
{
    SettingsValues values;
    values.groupByDefault = false;
    values.defaultTransparency = 100;
    values.protection.protectHide = true;
    store(values);
    start();
    EXPECT_EQ(control<QLineEdit>(Id::PercentBox)->text(), "100");
    EXPECT_FALSE(control<QCheckBox>(Id::GroupingBox)->isChecked());
    EXPECT_FALSE(dialog->inventory.groupChildWindows);
    EXPECT_TRUE(dialog->actions.protection.protectHide);
}

TEST_F(SettingsDialogTest, TheSheetWritesItsValuesWhichTakeEffectAtOnce)
{
    start();
    editSheet([](QWidget &main, QWidget &security) {
        EXPECT_EQ(DialogTemplate::control<QLineEdit>(&main, 1013)->text(), "75");
        EXPECT_TRUE(DialogTemplate::control<QRadioButton>(&main, 1020)->isChecked());
        DialogTemplate::control<QLineEdit>(&main, 1013)->setText("40");
        DialogTemplate::control<QCheckBox>(&main, 1016)->setChecked(false);
        DialogTemplate::control<QRadioButton>(&main, 1019)->setChecked(true);
        DialogTemplate::control<QCheckBox>(&security, 1022)->setChecked(true);
    });
    dialog->onCommand(CMainDialog::SettingsCommand);
    const SettingsValues values = stored();
    EXPECT_EQ(values.defaultTransparency, 40);
    EXPECT_FALSE(values.groupByDefault);
    EXPECT_TRUE(values.protection.protectExit);
    EXPECT_EQ(readStartupMode(), StartForCurrentUser);
    EXPECT_EQ(readRunValue(RunScope::CurrentUser, 260), programPath());
    EXPECT_EQ(control<QLineEdit>(Id::PercentBox)->text(), "40");
    EXPECT_FALSE(dialog->inventory.groupChildWindows);
    EXPECT_TRUE(dialog->actions.protection.protectExit);

    // The pages show the values again when the sheet opens next.
    modal::expect([](QDialog &d) {
        auto &sheet = dynamic_cast<CSettingsSheet &>(d);
        EXPECT_EQ(DialogTemplate::control<QLineEdit>(sheet.tabs()->widget(0), 1013)->text(), "40");
        EXPECT_TRUE(DialogTemplate::control<QRadioButton>(sheet.tabs()->widget(0), 1019)->isChecked());
        EXPECT_TRUE(DialogTemplate::control<QCheckBox>(sheet.tabs()->widget(1), 1022)->isChecked());
        sheet.reject();
    });
    dialog->onCommand(CMainDialog::SettingsCommand);
}

TEST_F(SettingsDialogTest, AWrongPercentKeepsTheSheetOpen)
{
    start();
    auto seen = std::make_shared<Message>();
    modal::expect([seen](QDialog &d) {
        auto &sheet = dynamic_cast<CSettingsSheet &>(d);
        sheet.tabs()->setCurrentIndex(1);
        DialogTemplate::control<QLineEdit>(sheet.tabs()->widget(0), 1013)->setText("101");
        modal::expect([seen](QDialog &box) {
            seen->text = dynamic_cast<QMessageBox &>(box).text();
            box.accept();
        });
        sheet.accept();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(sheet.tabs()->currentIndex(), 0) << "the page with the wrong value comes forward";
        sheet.reject();
    });
    dialog->onCommand(CMainDialog::SettingsCommand);
    EXPECT_EQ(seen->text, "Please enter an integer between 0 and 100.");
    EXPECT_EQ(stored().defaultTransparency, 75);
}

TEST_F(SettingsDialogTest, AnAllUsersRegistrationThatCannotBeWrittenIsToldToTheUser)
{
    ::setenv("PANEKEEPER_SYSTEM_AUTOSTART", unreachable().c_str(), 1);
    start();
    editSheet([](QWidget &main, QWidget &) { DialogTemplate::control<QRadioButton>(&main, 1018)->setChecked(true); });
    auto seen = expectMessage();
    dialog->onCommand(CMainDialog::SettingsCommand);
    EXPECT_TRUE(seen->text.contains(QString::fromStdString(autostartEntry(RunScope::AllUsers).string())));
    EXPECT_EQ(seen->icon, QMessageBox::Warning);
}

TEST_F(SettingsDialogTest, TheSettingsArgumentShowsOnlyTheSheet)
{
    editSheet([](QWidget &main, QWidget &) { DialogTemplate::control<QLineEdit>(&main, 1013)->setText("20"); });
    CMainDialog settingsOnly(desktop);
    EXPECT_FALSE(settingsOnly.initialise({"--open-settings"}));
    EXPECT_EQ(stored().defaultTransparency, 20);
    EXPECT_TRUE(desktop.calls.empty());
}

class PasswordTest : public SettingsDialogTest {};

TEST_F(PasswordTest, TheTypedTextMustMatchExactly)
{
    store(protectedBy(&ProtectionFlags::protectExit));
    start();
    const struct {
        const char *typed;
        bool passes;
    } cases[] = {{"Secret", true}, {"secret", false}, {"Secret ", false}, {"", false}};
    for (const auto &c : cases) {
        typePassword(QLatin1String(c.typed));
        std::shared_ptr<Message> seen;
        if (!c.passes)
            seen = expectMessage();
        EXPECT_EQ(dialog->askPassword(), c.passes) << c.typed;
        if (seen) {
            EXPECT_EQ(seen->text, "Password is incorrect!");
            EXPECT_EQ(seen->caption, "PaneKeeper");
            EXPECT_EQ(seen->icon, QMessageBox::Critical);
        }
    }
    cancelDialog();
    EXPECT_FALSE(dialog->askPassword()) << "a cancel says nothing and fails";
}

TEST_F(PasswordTest, AnEmptyPasswordStillAsksAndAnEmptyAnswerPasses)
{
    store(protectedBy(&ProtectionFlags::protectHide, ""));
    const WindowHandle w = add("Target");
    start();
    typePassword("");
    select("Target");
    click(Id::HideButton);
    EXPECT_FALSE(desktop.window(w).visible);
}

// Each guarded request: with its flag set a wrong password leaves everything as it was;
// the right one lets it through.
struct GuardCase {
    const char *name;
    bool ProtectionFlags::*flag;
    std::function<void(CMainDialog &, WindowHandle)> prepare;  // unguarded changes to undo
    std::function<void(DialogFixture &)> request;
    std::function<bool(FakeDesktop &, WindowHandle)> done;
};

void PrintTo(const GuardCase &c, std::ostream *out)
{
    *out << c.name;
}

class GuardTest : public SettingsDialogTest, public ::testing::WithParamInterface<GuardCase> {
public:
    // The test's own hooks for the parameter table.
    void selectRow(const char *title) { select(QLatin1String(title)); }
    void press(int id) { click(id); }
    CMainDialog &main() { return *dialog; }
};

TEST_P(GuardTest, AWrongPasswordRefusesTheRequestAndTheRightOneAllowsIt)
{
    const GuardCase &c = GetParam();
    const WindowHandle w = add("Target");
    store(protectedBy(c.flag));
    start();
    c.prepare(*dialog, w);
    const auto records = dialog->actions.changeRecords.count();

    typePassword("wrong");
    auto seen = expectMessage();
    c.request(*this);
    EXPECT_EQ(seen->text, "Password is incorrect!");
    EXPECT_FALSE(c.done(desktop, w));
    EXPECT_EQ(dialog->actions.changeRecords.count(), records);

    typePassword("Secret");
    c.request(*this);
    EXPECT_TRUE(c.done(desktop, w));
}

void unguarded(CMainDialog &d, WindowAction action, ChangeKind kind)
{
    d.actions.applyWindowAction(0, action, true, kind, false);
    d.refreshWindowList();
}

INSTANTIATE_TEST_SUITE_P(
    Requests, GuardTest,
    ::testing::Values(
        GuardCase{"hide", &ProtectionFlags::protectHide, [](CMainDialog &, WindowHandle) {},
                  [](DialogFixture &f) {
                      static_cast<GuardTest &>(f).selectRow("Target");
                      static_cast<GuardTest &>(f).press(Id::HideButton);
                  },
                  [](FakeDesktop &d, WindowHandle w) { return !d.window(w).visible; }},
        GuardCase{"on top from the tray", &ProtectionFlags::protectOnTop, [](CMainDialog &, WindowHandle) {},
                  [](DialogFixture &f) {
                      CMainDialog &d = static_cast<GuardTest &>(f).main();
                      d.buildTrayMenu();
                      d.onCommand(1067 + 1 + 1);
                  },
                  [](FakeDesktop &d, WindowHandle w) { return (d.window(w).exStyle & exStyleTopmost) != 0; }},
        GuardCase{"transparent", &ProtectionFlags::protectTransparent, [](CMainDialog &, WindowHandle) {},
                  [](DialogFixture &f) {
                      static_cast<GuardTest &>(f).selectRow("Target");
                      static_cast<GuardTest &>(f).press(Id::MakeTransparentButton);
                  },
                  [](FakeDesktop &d, WindowHandle w) { return d.window(w).alpha.has_value(); }},
        GuardCase{"restore hidden from the tray", &ProtectionFlags::protectRestoreHidden,
                  [](CMainDialog &d, WindowHandle) { unguarded(d, WindowAction::Hide, ChangeKind::Hidden); },
                  [](DialogFixture &f) {
                      CMainDialog &d = static_cast<GuardTest &>(f).main();
                      d.buildTrayMenu();
                      d.onCommand(1067 + 2);  // no listed window, one record
                  },
                  [](FakeDesktop &d, WindowHandle w) { return d.window(w).visible; }},
        GuardCase{"restore on top", &ProtectionFlags::protectRestoreOnTop,
                  [](CMainDialog &d, WindowHandle) { unguarded(d, WindowAction::MakeTopmost, ChangeKind::OnTop); },
                  [](DialogFixture &f) {
                      static_cast<GuardTest &>(f).selectRow("Target");
                      static_cast<GuardTest &>(f).press(Id::RestoreButton);
                  },
                  [](FakeDesktop &d, WindowHandle w) { return (d.window(w).exStyle & exStyleTopmost) == 0; }},
        GuardCase{"restore transparent", &ProtectionFlags::protectRestoreTransparent,
                  [](CMainDialog &d, WindowHandle) {
                      unguarded(d, WindowAction::MakeTransparent, ChangeKind::Transparent);
                  },
                  [](DialogFixture &f) {
                      static_cast<GuardTest &>(f).selectRow("Target");
                      static_cast<GuardTest &>(f).press(Id::MakeOpaqueButton);
                  },
                  [](FakeDesktop &d, WindowHandle w) { return !d.window(w).alpha.has_value(); }}),
    [](const auto &info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// Unchecking a guard on the "Security" page would lift it without the password; adding one
// asks nothing.
TEST_F(PasswordTest, LiftingAGuardInTheSheetAsksForThePassword)
{
    store(protectedBy(&ProtectionFlags::protectRestoreHidden));
    start();
    const struct {
        const char *name;
        int box;
        bool checked;
        const char *typed;  // none: no prompt
        bool restoreHidden, exit;  // the guards afterwards
    } cases[] = {
        {"added", 1022, true, nullptr, true, true},
        {"lifted with a wrong password", 1019, false, "wrong", true, true},
        {"lifted with the password", 1019, false, "Secret", false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        editSheet([&c](QWidget &, QWidget &security) {
            DialogTemplate::control<QCheckBox>(&security, c.box)->setChecked(c.checked);
        });
        if (c.typed)
            typePassword(QLatin1String(c.typed));
        if (c.typed && std::string_view(c.typed) == "wrong")
            expectMessage();
        dialog->onCommand(CMainDialog::SettingsCommand);
        EXPECT_EQ(stored().protection.protectRestoreHidden, c.restoreHidden);
        EXPECT_EQ(stored().protection.protectExit, c.exit);
        EXPECT_EQ(dialog->actions.protection.protectRestoreHidden, c.restoreHidden);
    }
}

TEST_F(PasswordTest, TheGroupingSwitchKeepsItsMarkWhenThePasswordFails)
{
    store(protectedBy(&ProtectionFlags::protectOnTop));
    start();
    auto *box = control<QCheckBox>(Id::GroupingBox);
    typePassword("wrong");
    expectMessage();
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(dialog->inventory.groupChildWindows);
    typePassword("Secret");
    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(dialog->inventory.groupChildWindows);
}

TEST_F(PasswordTest, ExitWithAWrongPasswordKeepsTheProgramAndItsChanges)
{
    store(protectedBy(&ProtectionFlags::protectExit));
    const WindowHandle w = add("Hidden here");
    start();
    bool ended = false;
    QObject::connect(dialog.get(), &CMainDialog::ended, [&] { ended = true; });
    dialog->buildTrayMenu();
    dialog->onCommand(1067);
    ASSERT_FALSE(desktop.window(w).visible);

    typePassword("wrong");
    expectMessage();
    dialog->onCommand(CMainDialog::ExitCommand);
    cancelDialog();
    dialog->onCommand(CMainDialog::ExitCommand);
    EXPECT_FALSE(ended);
    EXPECT_FALSE(desktop.window(w).visible);
    EXPECT_TRUE(dialog->trayIcon()->isVisible());

    typePassword("Secret");
    dialog->onCommand(CMainDialog::ExitCommand);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(desktop.window(w).visible);
}

TEST_F(PasswordTest, UndoingEverythingNeverAsks)
{
    SettingsValues values = protectedBy(&ProtectionFlags::protectRestoreHidden);
    values.protection.protectRestoreOnTop = values.protection.protectRestoreTransparent = true;
    store(values);
    const WindowHandle w = add("Target");
    start();
    unguarded(*dialog, WindowAction::MakeTopmost, ChangeKind::OnTop);
    unguarded(*dialog, WindowAction::Hide, ChangeKind::Hidden);
    dialog->endProgram();
    EXPECT_TRUE(desktop.window(w).visible);
    EXPECT_EQ(desktop.window(w).exStyle & exStyleTopmost, 0u);
}

class SetPasswordTest : public SettingsDialogTest {
protected:
    CSecurityPage &page() { return dialog->securityPage(); }
    // Answers the next "Password" dialog with the two texts.
    static void choose(const QString &password, const QString &confirmation)
    {
        modal::expect([password, confirmation](QDialog &d) {
            EXPECT_EQ(DialogTemplate::control<QLineEdit>(&d, 1013)->text(), "") << "cleared on opening";
            DialogTemplate::control<QLineEdit>(&d, 1013)->setText(password);
            DialogTemplate::control<QLineEdit>(&d, 1014)->setText(confirmation);
            DialogTemplate::control<QPushButton>(&d, 1)->click();
        });
    }
};

TEST_F(SetPasswordTest, ANewPasswordNeedsTheOldOneFirst)
{
    store(protectedBy(&ProtectionFlags::protectHide, "Old"));
    start();
    typePassword("old");  // wrong letter case
    expectMessage();
    page().onSetPassword();
    EXPECT_EQ(dialog->storedPassword, "Old");

    cancelDialog();
    page().onSetPassword();
    EXPECT_EQ(dialog->storedPassword, "Old");

    modal::expect([](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), "Old Password");
        DialogTemplate::control<QLineEdit>(&d, 1013)->setText("Old");
        DialogTemplate::control<QPushButton>(&d, 1)->click();
    });
    choose("New", "New");
    page().onSetPassword();
    EXPECT_EQ(dialog->storedPassword, "New");
    EXPECT_EQ(dialog->enterPasswordDialog().windowTitle(), "Enter Your Password");
}

TEST_F(SetPasswordTest, AMismatchKeepsTheDialogOpenWithBothBoxesEmptied)
{
    start();
    auto seen = std::make_shared<Message>();
    modal::expect([seen](QDialog &d) {
        auto *first = DialogTemplate::control<QLineEdit>(&d, 1013);
        auto *second = DialogTemplate::control<QLineEdit>(&d, 1014);
        first->setText("one");
        second->setText("two");
        modal::expect([seen](QDialog &box) {
            seen->text = dynamic_cast<QMessageBox &>(box).text();
            box.accept();
        });
        DialogTemplate::control<QPushButton>(&d, 1)->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(first->text(), "");
        EXPECT_EQ(second->text(), "");
        first->setText("same");
        second->setText("same");
        DialogTemplate::control<QPushButton>(&d, 1)->click();
    });
    page().onSetPassword();
    EXPECT_EQ(seen->text, "Password is incorrect!");
    EXPECT_EQ(dialog->storedPassword, "same");
}

TEST_F(SetPasswordTest, TwoEmptyBoxesRemoveThePasswordAndACancelKeepsIt)
{
    start();
    dialog->storedPassword = "";
    choose("", "");
    page().onSetPassword();
    EXPECT_EQ(dialog->storedPassword, "");

    dialog->storedPassword = "Kept";
    typePassword("Kept");
    modal::expect([](QDialog &d) { d.reject(); });
    page().onSetPassword();
    EXPECT_EQ(dialog->storedPassword, "Kept");
}

} // namespace
