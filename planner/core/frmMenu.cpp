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
    QWidget *lembrete = JanelaDeLembrete();
    for (QWidget *janela : {static_cast<QWidget *>(&frmMsgBox()), static_cast<QWidget *>(&frmAgenda()), lembrete})
        if (janela && janela->isVisible())
            janela->hide();
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
    QWidget *lembrete = JanelaDeLembrete();
    for (QWidget *janela : {static_cast<QWidget *>(&frmAgenda()), lembrete, static_cast<QWidget *>(&frmMsgBox()),
                            static_cast<QWidget *>(&frmLogon())})
        if (janela)
            janela->hide();
    RemoverIconeBandeja(frmLogon());
    programa::Encerrar();
}

FrmMenu &frmMenu()
{
    static FrmMenu *menu = new FrmMenu;
    return *menu;
}

namespace {

void trazerParaFrente(QWidget &janela)
{
    ManterNoTopo(janela, true);
    ManterNoTopo(janela, false);
}

} // namespace

void ExibirPelaBandeja()
{
    FrmLogon &logon = frmLogon();
    if (!logon.isVisible() && Sessao.Codigo == 0) {
        logon.show();
        return;
    }
    QWidget *lembrete = JanelaDeLembrete();
    const bool lembreteVisivel = lembrete && lembrete->isVisible();
    if (lembreteVisivel && frmMsgBox().isVisible()) {
        trazerParaFrente(*lembrete);
        trazerParaFrente(frmMsgBox());
    } else if (lembreteVisivel) {
        trazerParaFrente(*lembrete);
    } else if (logon.isVisible() || Sessao.Codigo == 0) {
        if (logon.isVisible()) {
            trazerParaFrente(logon);
            logon.activateWindow();
            logon.txtLogin->setFocus();
        }
    } else {
        FrmAgenda &agenda = frmAgenda();
        agenda.show();
        // Already shown but buried under other windows: the tray click brings it up.
        agenda.raise();
        agenda.activateWindow();
    }
}
