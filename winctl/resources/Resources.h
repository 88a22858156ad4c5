#pragma once

#include <QIcon>
#include <QString>

// The window utility's own resources: its icon and its string table.
namespace resources {

constexpr const char *dialogTitle = "Kesto@PaneKeeper";
constexpr const char *programName = "PaneKeeper";

enum StringId {
    TitleHeading = 102,
    VisibleHeading = 103,
    TopHeading = 104,
    OpacityHeading = 105,
    HandleHeading = 106,
    ProcessHeading = 107,
    FileHeading = 108,
    SettingsCaption = 111,
    UnknownError = 112,
    PasswordIncorrect = 113,
    OldPasswordCaption = 114,
};

QString text(StringId id);
// Icon 128: a window pane with a dimmed pane behind it, drawn at every size asked.
QIcon programIcon();

} // namespace resources
