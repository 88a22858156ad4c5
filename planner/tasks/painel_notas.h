#pragma once

#include "platform/grade.h"
#include "platform/toolkit.h"

// The notes panel of the main window: the user's one free-text note.
class PainelNotas : public tk::Moldura {
public:
    explicit PainelNotas(QWidget *parent);

    tk::CaixaTextoMultilinha *txtNotas;
    tk::Botao *cmdNotasSalvar, *cmdNotasLimpar;

    void frmAgenda_cmdNotasSalvar_Click();
    void frmAgenda_cmdNotasLimpar_Click();
    // Forgets the signed-off user's note.
    void Limpar();
};
