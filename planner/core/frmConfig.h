#pragma once

#include "platform/toolkit.h"

class JanelaPrincipal;

// The profile panel of the main window: personal data, password and planner preferences.
class PainelConfig : public tk::Moldura {
public:
    PainelConfig(QWidget *parent, JanelaPrincipal &principal);

    tk::CaixaTexto *txtDadosNome, *txtDadosEndereco, *txtDadosCidade, *txtDadosEstado, *txtDadosCep;
    tk::CaixaTexto *txtDadosTelefone, *txtDadosCelular, *txtDadosEmail, *txtDadosNascimento;
    tk::CaixaTexto *txtSenhaAtual, *txtSenhaNova, *txtSenhaReNova;
    tk::CaixaTexto *txtAgendaInicio, *txtAgendaFim, *txtAgendaIntervalo, *txtAgendaTempoChecagem;
    tk::BotaoOpcao *optAgendaNiverInicio, *optAgendaNiverFim;
    tk::CaixaCombinacao *cmbAgendaSom;
    tk::Botao *cmdAgendaOuvir;
    tk::CaixaSelecao *chkAgendaVisCompartilhados;
    tk::CaixaSelecao *chkIniciarComSessao;  // the desktop session's autostart entry
    tk::Botao *cmdAgendaGravar, *cmdAgendaCancelar, *cmdExcluirUsuario;

    void frmAgenda_cmdConfig_Click();
    void frmAgenda_cmdAgendaGravar_Click();
    void frmAgenda_cmdAgendaCancelar_Click();
    void frmAgenda_cmdAgendaOuvir_Click();
    void frmAgenda_cmdExcluirUsuario_Click();
    // The new-user defaults, set by the main window's load in new-user mode.
    void PreencherNovoUsuario();

private:
    JanelaPrincipal &principal;
    bool gravar();
    bool senhaAtualConfere() const;
};
