#pragma once

#include "core/navegacao.h"
#include "platform/grade.h"
#include "platform/toolkit.h"

// The notes panel of the main window: the user's one free-text note.
class PainelNotas : public tk::Moldura {
public:
    PainelNotas(QWidget *parent, Navegacao &nav);

    tk::CaixaTextoMultilinha *txtNotas;
    tk::Botao *cmdNotasSalvar, *cmdNotasLimpar;

    void frmAgenda_cmdNotasSalvar_Click();
    void frmAgenda_cmdNotasLimpar_Click();
    // Forgets the signed-off user's note.
    void Limpar();
    // ChaveNota takes the user's row key and the box its text, when the user has a row with
    // text; otherwise both stay as they are.
    void CarregarNota();

private:
    Navegacao &nav;
};
