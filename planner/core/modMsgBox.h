#pragma once

#include "platform/toolkit.h"

#include <QImage>
#include <QRegion>

// The planner's own message box.
class FrmMsgBox : public tk::Formulario {
public:
    FrmMsgBox();

    tk::Rotulo *lblMsg;
    tk::Imagem *imgPergunta, *imgInformacao, *imgGrave;
    tk::Botao *cmdMOkay, *cmdMCancelar, *cmdMConfirmar;
    bool resposta = false;

    void frmMsgBox_Form_Activate();
    void frmMsgBox_cmdMOkay_Click();
    void frmMsgBox_cmdMConfirmar_Click();
    void frmMsgBox_cmdMCancelar_Click();
    void frmMsgBox_Form_Unload();

    // The label grows 225 twips a line with its text.
    void AjustarAlturaDaMensagem();
};

FrmMsgBox &frmMsgBox();

// Shows the text modally: botoes 1 = "&Okay" alone, otherwise "&Confirmar" and "C&ancelar";
// icone 0 none, 1 question, 2 information, 3 serious. True for "&Okay" or "&Confirmar".
bool Mensagem(const QString &texto, int botoes, int icone);

// Puts the window into the topmost band or back into the normal band, neither moved nor
// resized; True and then False brings it to the front.
void ManterNoTopo(QWidget &form, bool ligado);

// The window outline cut from a picture: every run of pixels that differ from the top-left
// pixel's colour. An empty region (a picture of one colour) leaves the window unclipped.
QRegion RegiaoDaImagem(const QImage &figura);
void AplicarRegiao(QWidget &form, const QRegion &regiao);
