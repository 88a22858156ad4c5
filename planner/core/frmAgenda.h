#pragma once

#include "platform/toolkit.h"

#include <functional>

class PainelCompromissos;
class PainelConfig;

// The main window: skin, navigation tabs, the seven panels, identity, date and time.
class FrmAgenda : public tk::Formulario {
public:
    FrmAgenda();

    tk::Figura *picMainSkin;
    tk::Moldura *frmInicial, *frmEndereco, *frmFinancas, *frmTarefas, *frmNotas;
    PainelCompromissos *frmCompromissos;
    PainelConfig *frmConfig;
    tk::Imagem *imgAjuda, *imgCompromissos, *imgEnderecos, *imgFinancas, *imgTarefas, *imgNotas;
    tk::BotaoFigura *cmdConfig, *cmdLogout, *cmdAjuda;
    tk::Imagem *imgMinimizar, *imgImpressora;
    tk::Rotulo *lblMinimizar;
    tk::Moldura *frmLinhaApagar;
    tk::Figura *picFocus;
    tk::Rotulo *lblHora, *lblData;
    tk::Rotulo *lblIdentNome, *lblIdentTelefone, *lblIdentCelular, *lblIdentEmail;
    tk::Temporizador *tmrChecagem, *tmrRelogio;

    // Runs at the first showing and again when a sign-on finds the session ended or restored.
    void frmAgenda_Form_Load();
    void frmAgenda_imgAjuda_Click();
    void frmAgenda_imgCompromissos_Click();
    void frmAgenda_imgEnderecos_Click();
    void frmAgenda_imgFinancas_Click();
    void frmAgenda_imgTarefas_Click();
    void frmAgenda_imgNotas_Click();
    void frmAgenda_cmdLogout_Click();
    void frmAgenda_cmdAjuda_Click();
    void frmAgenda_imgMinimizar_Click();
    void frmAgenda_tmrRelogio_Timer();

    // Shows the window, loading it the first time.
    void Mostrar();
    // Opens the panel named as in Usuarios.Pastinha; a name outside the table opens none.
    void AbrirPainel(const QString &nome);
    // The identity labels take the session's values that are not "".
    void AtualizarIdentificacao();

private:
    bool carregado = false;
    bool primeiraCarga = true;
    // The panel switch of the navigation tabs.
    void trocarPainel(const QString &nome, QWidget *painel, int leftAba, int larguraAba, bool impressora,
                      const std::function<void()> &carregar = {});
};

FrmAgenda &frmAgenda();

// Shows one panel, hides the others and remembers it as the user's last panel.
void ExibirPainel(QWidget *painel);
// Logs the user out: every session value back to its start value.
void EncerrarSessao();
// Parks the keyboard focus on an invisible picture.
void RetirarFoco();
void AvisarCadastroPendente();

// The reminder window, once one exists: the tray brings it to the front before anything else.
extern std::function<QWidget *()> JanelaDeLembrete;
