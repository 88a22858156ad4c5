#include "core/frmMenu.h"

#include "core/frmAgenda.h"
#include "core/frmLogon.h"
#include "core/modMsgBox.h"
#include "core/programa.h"
#include "core/sessao.h"
#include "platform/toolkit.h"

FrmMenu::FrmMenu()
{
    mnu0.setTitle(QStringLiteral("mnu0"));
    LogOut = mnu0.addAction(QStringLiteral("&Log Out"));
    Mostrar = mnu0.addAction(QStringLiteral("&Mostrar"));
    Encerrar = mnu0.addAction(QStringLiteral("&Encerrar"));
    LogOut->setVisible(false);
    connect(LogOut, &QAction::triggered, this, [this] { tk::Disparar([this] { frmMenu_LogOut_Click(); }); });
    connect(Mostrar, &QAction::triggered, this, [this] { tk::Disparar([this] { frmMenu_Mostrar_Click(); }); });
    connect(Encerrar, &QAction::triggered, this, [this] { tk::Disparar([this] { frmMenu_Encerrar_Click(); }); });
}

void FrmMenu::frmMenu_LogOut_Click()
{
    if (frmMsgBox().isVisible())
        frmMsgBox().hide();
    if (frmAgenda().isVisible())
        frmAgenda().hide();
    EncerrarSessao();
    frmLogon().txtPass->clear();
    LogOut->setVisible(false);
    frmLogon().show();
}

void FrmMenu::frmMenu_Mostrar_Click()
{
    ExibirPelaBandeja();
}

void FrmMenu::frmMenu_Encerrar_Click()
{
    frmAgenda().hide();
    frmMsgBox().hide();
    frmLogon().hide();
    RemoverIconeBandeja(frmLogon());
    programa::Encerrar();
}

FrmMenu &frmMenu()
{
    static FrmMenu *menu = new FrmMenu;
    return *menu;
}

void ExibirPelaBandeja()
{
    FrmLogon &logon = frmLogon();
    if (logon.isVisible() || Sessao.Codigo != 0) {
        if (logon.isVisible() || Sessao.Codigo == 0) {
            if (logon.isVisible()) {
                ManterNoTopo(logon, true);
                ManterNoTopo(logon, false);
                logon.activateWindow();
                logon.setFocus();
            }
        } else {
            frmAgenda().show();
        }
    } else {
        logon.show();
    }
}
