#pragma once

#include <QAction>
#include <QMenu>

#include <functional>

// The tray icon's popup menu. The tray icon belongs to the logon form, which tells the menu
// how the tray brings things forward and how it goes away.
class FrmMenu : public QObject {
public:
    FrmMenu();
    QMenu mnu0;
    QAction *LogOut, *Mostrar, *Encerrar;
    std::function<void()> ExibirPelaBandeja = [] {};
    std::function<void()> FecharBandeja = [] {};

    void frmMenu_LogOut_Click();
    void frmMenu_Mostrar_Click();
    void frmMenu_Encerrar_Click();
};

FrmMenu &frmMenu();
