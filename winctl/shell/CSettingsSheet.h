#pragma once

#include "WindowActions.h"
#include "shell/Settings.h"

#include <QDialog>
#include <QWidget>

#include <string>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

// A page of the settings sheet: its controls show its fields when the sheet opens and
// give their states back when the sheet is accepted.
class CSettingsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void showFields() = 0;
    // False, with the reason told, when a control holds a value the field cannot take.
    virtual bool takeFields() = 0;
};

// "Main" (template 106): the default percent, the grouping default and the start with the session.
class CMainSettingsPage : public CSettingsPage {
    Q_OBJECT
public:
    explicit CMainSettingsPage(QWidget *parent = nullptr);

    int defaultTransparency = 75;
    bool groupByDefault = true;
    StartupMode startupMode = DoNotStart;

    void showFields() override;
    bool takeFields() override;

private:
    QLineEdit *percentBox_;
    QCheckBox *groupingBox_;
    QRadioButton *modeButtons_[3];
};

// "Security" (template 139): which requests ask for the password, and the password itself.
class CSecurityPage : public CSettingsPage {
    Q_OBJECT
public:
    CSecurityPage(std::string &storedPassword, QWidget *parent = nullptr);

    ProtectionFlags flags;

    void showFields() override;
    bool takeFields() override;
    void onSetPassword();

private:
    std::string &storedPassword_;
    QCheckBox *boxes_[7];
};

// "Settings": the two pages with "OK" and "Cancel", no "Apply". The pages are lent to
// the sheet and given back when it closes, so their fields outlive it.
class CSettingsSheet : public QDialog {
    Q_OBJECT
public:
    CSettingsSheet(CMainSettingsPage &mainPage, CSecurityPage &securityPage, QWidget *parent = nullptr);
    ~CSettingsSheet() override;

    QTabWidget *tabs() const { return tabs_; }
    void accept() override;

private:
    QTabWidget *tabs_;
    CSettingsPage *pages_[2];
};
