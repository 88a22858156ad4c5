#pragma once

#include <QAction>
#include <QMenu>

// The tray icon's popup menu.
class FrmMenu : public QObject {
public:
    FrmMenu();
    QMenu mnu0;
    QAction *LogOut, *Mostrar, *Encerrar;

    void frmMenu_LogOut_Click();
    void frmMenu_Mostrar_Click();
    void frmMenu_Encerrar_Click();
};

FrmMenu &frmMenu();

// Tray left click and "&Mostrar": brings forward whatever the user is in the middle of.
void ExibirPelaBandeja();
