#pragma once

#include "core/navegacao.h"
#include "platform/toolkit.h"

#include <optional>

// The calculator frame frmCalc of the main window: the display, the memory light and the key
// pictures. Buttons append to the display; typing inserts at the caret. The key pictures never
// take the focus.
class PainelCalculadora : public tk::Moldura {
public:
    // botao: the main window's button that shows and hides it.
    PainelCalculadora(QWidget *parent, Navegacao &nav, tk::BotaoFigura &botao);

    tk::CaixaTexto *txtCalculadora;
    tk::Rotulo *lblMemoria;
    tk::Imagem *imgZero, *imgHum, *imgDois, *imgTres, *imgQuatro, *imgCinco, *imgSeis, *imgSete,
        *imgOito, *imgNove, *imgPonto;
    tk::Imagem *imgSomar, *imgSubtrair, *imgMultiplicacao, *imgDivisao, *imgIgual, *imgPercentual;
    tk::Imagem *imgC, *imgCe, *imgMC, *imgMR, *imgMmais, *imgMmenos;
    // The key being handled comes from a button, not from the keyboard.
    bool TeclaDeBotao = false;

    // The central key handler of the keyboard and of the digit and point buttons: the key to
    // keep (0 when it was consumed).
    int frmAgenda_txtCalculadora_KeyPress(int tecla);
    // The digit and point buttons send the code of their character.
    void frmAgenda_imgDigito_Click(int codigo);
    void frmAgenda_imgSomar_Click();
    void frmAgenda_imgSubtrair_Click();
    void frmAgenda_imgMultiplicacao_Click();
    void frmAgenda_imgDivisao_Click();
    void frmAgenda_imgIgual_Click();
    void frmAgenda_imgPercentual_Click();
    void frmAgenda_imgC_Click();
    void frmAgenda_imgCe_Click();
    void frmAgenda_imgMC_Click();
    void frmAgenda_imgMR_Click();
    void frmAgenda_imgMmais_Click();
    void frmAgenda_imgMmenos_Click();
    // Shows and hides the frame (the main window's calculator button).
    void frmAgenda_cmdCalculadora_Click();

    // As the main window opens: frame shown, display empty, memory light off.
    void Abrir();

private:
    Navegacao &nav;
    tk::BotaoFigura &botao;
    void operacao(QChar codigo);
    void memoria(int sinal);  // M+ and M-
    // Puts a key's outcome on the display and the focus in it.
    void exibir(const std::optional<QString> &texto);
};
