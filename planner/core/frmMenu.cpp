#include "core/frmMenu.h"

#include "core/modMsgBox.h"
#include "core/principal.h"
#include "core/programa.h"
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
    QWidget *lembrete = JanelaDeLembrete();
    for (QWidget *janela : {static_cast<QWidget *>(&frmMsgBox()), lembrete})
        if (janela && janela->isVisible())
            janela->hide();
    janelaPrincipal().Sair();
}

void FrmMenu::frmMenu_Mostrar_Click()
{
    ExibirPelaBandeja();
}

void FrmMenu::frmMenu_Encerrar_Click()
{
    QWidget *lembrete = JanelaDeLembrete();
    for (QWidget *janela : {&janelaPrincipal().Janela(), lembrete, static_cast<QWidget *>(&frmMsgBox())})
        if (janela)
            janela->hide();
    FecharBandeja();
    programa::Encerrar();
}

FrmMenu &frmMenu()
{
    static FrmMenu *menu = new FrmMenu;
    return *menu;
}
