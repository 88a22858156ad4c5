#include "core/frmAgenda.h"

#include "core/frmLogon.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "platform/localidade.h"
#include "platform/relogio.h"
#include "resources/recursos.h"

#include <QGuiApplication>
#include <QScreen>

FrmAgenda::FrmAgenda() : tk::Formulario(QStringLiteral("Velora"))
{
    setWindowIcon(recursos::IconePrograma());
    picMainSkin = new tk::Figura(this);
    picMainSkin->ArrastaJanela = true;
    picMainSkin->resize(752, 522);
    resize(752, 522);
    picFocus = new tk::Figura(picMainSkin);
    picFocus->setFocusPolicy(Qt::StrongFocus);
    picFocus->setGeometry(0, 0, 1, 1);

    lblHora = new tk::Rotulo(picMainSkin, QString());
    lblData = new tk::Rotulo(picMainSkin, QString());
    lblHora->setGeometry(600, 20, 120, 20);
    lblData->setGeometry(300, 20, 290, 20);
    cmdLogout = new tk::Botao(picMainSkin, QStringLiteral("Sair"));
    cmdLogout->setGeometry(660, 480, 70, 24);

    tmrChecagem = new tk::Temporizador(this);
    tmrRelogio = new tk::Temporizador(this, 1000);
    cmdLogout->Click = [this] { frmAgenda_cmdLogout_Click(); };
    tmrRelogio->Timer = [this] { frmAgenda_tmrRelogio_Timer(); };
    QueryUnload = [this] { hide(); };
    if (const QScreen *tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
}

void FrmAgenda::Mostrar()
{
    if (!carregado) {
        carregado = true;
        frmAgenda_Form_Load();
    }
    show();
}

void FrmAgenda::frmAgenda_Form_Load()
{
    carregado = true;
    lblHora->setText(relogio::Agora().toString(QStringLiteral("HH:mm")));
    Sessao.SeparadorDecimal = localidade::SeparadorDecimal();
    tk::Tela::Ampulheta(true);
    tk::ProcessarEventos();
    if (primeiraCarga) {
        primeiraCarga = false;
        AplicarRegiao(*this, RegiaoDaImagem(picMainSkin->Imagem().toImage()));
    }
    Sessao.DiaExibido = relogio::Hoje();
    tmrChecagem->DefinirIntervalo(60000);
    tmrChecagem->DefinirAtivo(true);
    tmrRelogio->DefinirAtivo(true);
    Sessao.MinutosChecagem = 1;
    lblData->setText(localidade::DataLonga(relogio::Hoje()) + QStringLiteral(" "));
    if (!Sessao.NovoUsuario) {
        cmdLogout->setToolTip(QStringLiteral("Encerrar Sessão do Usuário [") + Sessao.Login + QStringLiteral("]"));
    }
    tk::Tela::Ampulheta(false);
}

void FrmAgenda::frmAgenda_cmdLogout_Click()
{
    RetirarFoco();
    if (Sessao.NovoUsuario)
        return;
    hide();
    EncerrarSessao();
    frmLogon().txtPass->clear();
    frmMenu().LogOut->setVisible(false);
    frmLogon().show();
}

void FrmAgenda::frmAgenda_tmrRelogio_Timer()
{
    lblHora->setText(relogio::Agora().toString(QStringLiteral("HH:mm")));
}

FrmAgenda &frmAgenda()
{
    static FrmAgenda *form = new FrmAgenda;
    return *form;
}

void EncerrarSessao()
{
    Sessao.ReiniciarValores();
    Sessao.SessaoEncerrada = true;
    frmAgenda().tmrChecagem->DefinirAtivo(false);
    frmAgenda().tmrRelogio->DefinirAtivo(false);
    const bool vazio = Consultar(QStringLiteral("Select * from Usuarios")).Eof();
    frmLogon().cmdLogar->setEnabled(!vazio);
    frmLogon().txtPass->setEnabled(!vazio);
}

void RetirarFoco()
{
    frmAgenda().picFocus->setFocus();
}
