#pragma once

#include <QDialog>

// The about box: the program's name, version and home page.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget *parent = nullptr);

    static constexpr const char *homePage = "https://kesto.example/panekeeper";
};
