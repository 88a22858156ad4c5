#pragma once

#include "core/principal.h"
#include "platform/toolkit.h"
#include "reports/modRelatorios.h"

#include <QVector>

#include <functional>

class PainelCalculadora;
class PainelCompromissos;
class PainelConfig;
class PainelEnderecos;
class PainelNotas;
class PainelTarefas;
class RelogioAnalogico;
class PainelFinancas;

// The main window: skin, navigation tabs, the seven panels, identity, date and time. It owns the
// panels and the navigation, hands itself to each panel as its Navegacao, and registers itself
// as the JanelaPrincipal of the sign-on, the tray menu and the backup commands.
class FrmAgenda : public tk::Formulario, public JanelaPrincipal {
public:
    FrmAgenda();

    tk::Figura *picMainSkin;
    tk::Moldura *frmInicial;
    PainelCompromissos *frmCompromissos;
    PainelEnderecos *frmEndereco;
    PainelFinancas *frmFinancas;
    PainelTarefas *frmTarefas;
    PainelNotas *frmNotas;
    PainelConfig *frmConfig;
    tk::Imagem *imgAjuda, *imgCompromissos, *imgEnderecos, *imgFinancas, *imgTarefas, *imgNotas;
    tk::BotaoFigura *cmdConfig, *cmdLogout, *cmdAjuda;
    tk::BotaoFigura *cmdBackup, *cmdRestore;
    tk::Imagem *imgMinimizar, *imgImpressora;
    tk::Rotulo *lblMinimizar;
    tk::Moldura *frmLinhaApagar;
    tk::Figura *picFocus;
    tk::Rotulo *lblHora, *lblData;
    tk::Rotulo *lblIdentNome, *lblIdentTelefone, *lblIdentCelular, *lblIdentEmail;
    tk::Temporizador *tmrChecagem, *tmrRelogio;
    RelogioAnalogico *picRelogio;
    PainelCalculadora *frmCalc;
    tk::BotaoFigura *cmdCalculadora;

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
    void frmAgenda_imgImpressora_Click();
    void frmAgenda_tmrRelogio_Timer();
    // Scans for due reminders; the grid shown is built again after a scan that showed one.
    void frmAgenda_tmrChecagem_Timer();

    // Navegacao
    void AbrirPainel(const QString &nome) override;
    void ExibirPainel(QWidget *painel) override;
    void RetirarFoco() override;
    void AvisarCadastroPendente() override;
    void MostrarImpressora(bool visivel) override;
    void MostrarData(const QDate &dia) override;
    void AtualizarIdentificacao() override;
    void IdentificacaoPadrao() override;
    // JanelaPrincipal
    QWidget &Janela() override { return *this; }
    void Carregar() override { frmAgenda_Form_Load(); }
    void Mostrar() override;
    void EncerrarSessao() override;
    void Sair() override;
    bool RecomecarComDadosRestaurados() override;
    void AtivarChecagem(bool ativa) override;
    void PararTemporizadores() override;

    // One panel as the navigation knows it; the profile is opened by its own button.
    struct Painel {
        QString nome;  // as stored in Usuarios.Pastinha
        QWidget *painel;
        tk::Imagem *aba;         // null for the profile
        int leftAba, larguraAba; // the tab-edge frame, twips
        bool impressora;         // the print picture shows on it
        std::function<void()> carregar = {};  // fills the panel before it is shown
        std::function<void()> depois = {};    // runs once it is shown
        std::function<void()> limpar = {};    // forgets the user's data at logout
        std::function<Relatorio()> relatorio = {};  // what the print picture prints on it
    };
    const QVector<Painel> &Paineis() const { return paineis; }

private:
    bool carregado = false;
    bool primeiraCarga = true;
    QVector<Painel> paineis;
    // The panel switch of the navigation tabs.
    void trocarPainel(const Painel &p);
};

FrmAgenda &frmAgenda();
