#pragma once

#include "platform/toolkit.h"

// The main window.
class FrmAgenda : public tk::Formulario {
public:
    FrmAgenda();

    tk::Figura *picMainSkin;
    tk::Figura *picFocus;
    tk::Rotulo *lblHora, *lblData;
    tk::Botao *cmdLogout;
    tk::Temporizador *tmrChecagem, *tmrRelogio;

    // Runs at the first showing and again when a sign-on finds the session ended or restored.
    void frmAgenda_Form_Load();
    void frmAgenda_cmdLogout_Click();
    void frmAgenda_tmrRelogio_Timer();

    // Shows the window, loading it the first time.
    void Mostrar();

private:
    bool carregado = false;
    bool primeiraCarga = true;
};

FrmAgenda &frmAgenda();

void EncerrarSessao();
void RetirarFoco();
