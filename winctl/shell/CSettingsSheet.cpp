#include "shell/CSettingsSheet.h"

#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "platform/ModalDialogs.h"
#include "resources/Resources.h"
#include "shell/CPasswordDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct SecurityBox {
    int id;
    const char *text;
    bool ProtectionFlags::*flag;
};
// In their order on the page, top to bottom.
constexpr SecurityBox securityBoxes[] = {
    {1016, "hiding windows", &ProtectionFlags::protectHide},
    {1019, "restoring hidden windows", &ProtectionFlags::protectRestoreHidden},
    {1017, "making windows always on top", &ProtectionFlags::protectOnTop},
    {1020, "restoring always on top windows", &ProtectionFlags::protectRestoreOnTop},
    {1018, "making windows transparent", &ProtectionFlags::protectTransparent},
    {1021, "restoring transparent windows", &ProtectionFlags::protectRestoreTransparent},
    {1022, "closing the PaneKeeper", &ProtectionFlags::protectExit},
};

} // namespace

CMainSettingsPage::CMainSettingsPage(QWidget *parent) : CSettingsPage(parent)
{
    setWindowTitle(QStringLiteral("Main"));
    DialogTemplate t(this, 250, 126);
    t.place(0, new QGroupBox(QStringLiteral("PaneKeeper dialog")), {7, 7, 236, 50});
    t.place(0, new QLabel(QStringLiteral("Default transparency value for PaneKeeper dialog:")), {14, 21, 172, 8});
    percentBox_ = t.place(1013, new QLineEdit, {188, 18, 24, 14});
    percentBox_->setAlignment(Qt::AlignRight);
    acceptDigitsOnly(percentBox_);
    t.place(0, new QLabel(QStringLiteral("%")), {215, 21, 9, 8});
    groupingBox_ = t.place(
        1016, new QCheckBox(QStringLiteral("Show all child windows of a process as one window by default")),
        {14, 38, 224, 10});
    t.place(0, new QGroupBox(QStringLiteral("Startup")), {7, 62, 236, 57});
    const char *modes[] = {"Start PaneKeeper on Windows startup (for all users)",
                           "Start PaneKeeper on Windows startup (for the current user only)",
                           "Don't start PaneKeeper on Windows startup"};
    for (int i = 0; i < 3; ++i)
        modeButtons_[i] = t.place(1018 + i, new QRadioButton(QString::fromLatin1(modes[i])), {14, 75 + 14 * i, 224, 10});
}

void CMainSettingsPage::showFields()
{
    percentBox_->setText(QString::number(defaultTransparency));
    groupingBox_->setChecked(groupByDefault);
    modeButtons_[startupMode]->setChecked(true);
}

bool CMainSettingsPage::takeFields()
{
    const std::optional<int> percent = readIntegerBox(percentBox_, 0, 100, QLatin1String(resources::programName));
    if (!percent)
        return false;
    defaultTransparency = *percent;
    groupByDefault = groupingBox_->isChecked();
    for (int i = 0; i < 3; ++i) {
        if (modeButtons_[i]->isChecked())
            startupMode = StartupMode(i);
    }
    return true;
}

CSecurityPage::CSecurityPage(std::string &storedPassword, QWidget *parent)
    : CSettingsPage(parent), storedPassword_(storedPassword)
{
    setWindowTitle(QStringLiteral("Security"));
    DialogTemplate t(this, 250, 126);
    t.place(0, new QGroupBox(QStringLiteral("Use password for...")), {7, 7, 236, 92});
    for (int i = 0; i < 7; ++i)
        boxes_[i] = t.place(securityBoxes[i].id, new QCheckBox(QString::fromLatin1(securityBoxes[i].text)),
                            {14, 19 + 11 * i, 222, 10});
    auto *setPassword = t.place(1004, new QPushButton(QStringLiteral("Set Password...")), {7, 105, 70, 14});
    setPassword->setAutoDefault(false);
    connect(setPassword, &QPushButton::clicked, this, &CSecurityPage::onSetPassword);
}

void CSecurityPage::showFields()
{
    for (int i = 0; i < 7; ++i)
        boxes_[i]->setChecked(flags.*securityBoxes[i].flag);
}

bool CSecurityPage::takeFields()
{
    for (int i = 0; i < 7; ++i)
        flags.*securityBoxes[i].flag = boxes_[i]->isChecked();
    return true;
}

// A password already set must be typed before another one can be chosen.
void CSecurityPage::onSetPassword()
{
    if (!storedPassword_.empty()) {
        CEnterPasswordDialog oldPassword(this);
        oldPassword.caption = resources::text(resources::OldPasswordCaption);
        if (modal::run(oldPassword) != QDialog::Accepted)
            return;
        if (oldPassword.typedText.toStdString() != storedPassword_) {
            tellPasswordIncorrect(this);
            return;
        }
    }
    CPasswordDialog password(storedPassword_, this);
    modal::run(password);
}

CSettingsSheet::CSettingsSheet(CMainSettingsPage &mainPage, CSecurityPage &securityPage, QWidget *parent)
    : QDialog(parent), pages_{&mainPage, &securityPage}
{
    setWindowTitle(resources::text(resources::SettingsCaption));
    auto *layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget;
    layout->addWidget(tabs_);
    for (CSettingsPage *page : pages_) {
        tabs_->addTab(page, page->windowTitle());
        page->showFields();
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsSheet::reject);
}

CSettingsSheet::~CSettingsSheet()
{
    for (CSettingsPage *page : pages_) {
        tabs_->removeTab(tabs_->indexOf(page));
        page->hide();
        page->setParent(nullptr);
    }
}

void CSettingsSheet::accept()
{
    for (CSettingsPage *page : pages_) {
        if (!page->takeFields()) {
            tabs_->setCurrentWidget(page);
            return;
        }
    }
    QDialog::accept();
}
