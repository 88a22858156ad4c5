// The main dialog's settings and password checks.
#include "CMainDialog.h"

#include "platform/ModalDialogs.h"
#include "resources/Resources.h"
#include "shell/CPasswordDialogs.h"
#include "shell/CSettingsSheet.h"
#include "shell/Settings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace {

bool guardTakenAway(const ProtectionFlags &before, const ProtectionFlags &after)
{
    constexpr bool ProtectionFlags::*flags[] = {
        &ProtectionFlags::protectHide,          &ProtectionFlags::protectOnTop,
        &ProtectionFlags::protectTransparent,   &ProtectionFlags::protectRestoreHidden,
        &ProtectionFlags::protectRestoreOnTop,  &ProtectionFlags::protectRestoreTransparent,
        &ProtectionFlags::protectExit,
    };
    for (auto flag : flags) {
        if (before.*flag && !(after.*flag))
            return true;
    }
    return false;
}

} // namespace

bool CMainDialog::askPassword()
{
    // The list is not built anew under the prompt (it would list the prompt itself).
    const QScopedValueRollback<bool> prompt(promptOpen_, true);
    if (modal::run(*enterPassword_) != QDialog::Accepted)
        return false;
    if (enterPassword_->typedText.toStdString() == storedPassword)
        return true;
    tellPasswordIncorrect(this);
    return false;
}

void CMainDialog::loadSettings()
{
    SettingsValues values{mainPage_->groupByDefault, mainPage_->defaultTransparency, securityPage_->flags,
                          storedPassword};
    readSettings(values);
    mainPage_->groupByDefault = values.groupByDefault;
    inventory.groupChildWindows = values.groupByDefault;
    mainPage_->defaultTransparency = values.defaultTransparency;
    actions.transparencyPercent = values.defaultTransparency;
    securityPage_->flags = values.protection;
    actions.protection = values.protection;
    storedPassword = values.storedPassword;
    groupingBox_->setChecked(inventory.groupChildWindows);
    percentBox_->setText(QString::number(actions.transparencyPercent));
}

void CMainDialog::saveSettings()
{
    writeSettings({mainPage_->groupByDefault, mainPage_->defaultTransparency, securityPage_->flags, storedPassword});
}

void CMainDialog::openSettings()
{
    mainPage_->startupMode = readStartupMode();
    loadSettings();
    if (runSettingsSheet(this))
        loadSettings();
}

void CMainDialog::runSettingsOnly()
{
    mainPage_->startupMode = readStartupMode();
    createDefaultSettings();
    loadSettings();
    runSettingsSheet(nullptr);
}

bool CMainDialog::runSettingsSheet(QWidget *parent)
{
    const ProtectionFlags before = securityPage_->flags;
    CSettingsSheet sheet(*mainPage_, *securityPage_, parent);
    if (modal::run(sheet) != QDialog::Accepted)
        return false;
    // Taking a guard away is itself guarded, or the sheet would undo every protection
    // without the password: refused, the guards stay as they were.
    if (guardTakenAway(before, securityPage_->flags) && !askPassword())
        securityPage_->flags = before;
    // A registration the user has no right to write must not vanish without a word.
    if (const std::string failed = writeStartupMode(mainPage_->startupMode); !failed.empty())
        modal::message(parent,
                       QStringLiteral("The start of PaneKeeper with the session could not be changed:\n"
                                      "%1 cannot be written.")
                           .arg(QString::fromStdString(failed)),
                       QLatin1String(resources::programName), modal::Icon::Exclamation);
    saveSettings();
    return true;
}
