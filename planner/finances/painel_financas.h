#pragma once

#include "core/navegacao.h"
#include "finances/modFinancas.h"
#include "platform/grade.h"
#include "platform/toolkit.h"

class QGroupBox;

// The finances panel of the main window: the month chosen, its entries between the opening and
// the current balance, and the entry panel laid over the grid.
class PainelFinancas : public tk::Moldura {
public:
    PainelFinancas(QWidget *parent, Navegacao &nav);

    tk::CaixaCombinacao *cmbFinancasMes;
    tk::CaixaTexto *txtFinancasAno;
    tk::Botao *cmdFinancasExibirMes;
    tk::Moldura *frmFinancasGrade;
    tk::Grade *grdFinancas;
    tk::CaixaTexto *txtFinancasSemRegistro;
    tk::CaixaTexto *txtFinancasSaldoInicial, *txtFinancasSaldoAtual;
    tk::BotaoFigura *cmdSaldoAnterior;
    tk::Botao *cmdFinancasNovo;

    QGroupBox *frmFinancasDados;
    tk::CaixaTexto *txtFinancasData;
    tk::BotaoFigura *cmdFinancasCalendario;
    tk::Calendario *calFinancas;
    tk::CaixaTextoMultilinha *txtFinancasDescricao;
    tk::BotaoOpcao *optFinancasReceita, *optFinancasDespesa;
    tk::CaixaTexto *txtFinancasValor;
    tk::CaixaSelecao *chkFinancaRealizada;
    tk::Botao *cmdFinancasSalvar, *cmdFinancasExcluir, *cmdFinancasVoltar;

    // Rebuilds the grid and both balances for a month.
    void CarregarMes(int mes, int ano);
    void AdicionarLinhaLancamento(const LinhaLancamento &linha);
    // The month shown, as last loaded.
    const MesFinanceiro &MesExibido() const { return mesExibido; }

    // Opening the panel: the current month the first time in a sign-on, then the one last shown.
    void Abrir();
    // Logout: forgets the user's month.
    void Limpar();
    // Opens the entry panel for a row of the grid (1 = first data row).
    void AbrirLinha(int linha);

    void frmAgenda_cmdFinancasExibirMes_Click();
    void frmAgenda_cmdFinancasNovo_Click();
    void frmAgenda_grdFinancas_DblClick();
    void frmAgenda_cmdFinancasCalendario_Click();
    void frmAgenda_calFinancas_DateClick();
    void frmAgenda_cmdFinancasSalvar_Click();
    void frmAgenda_cmdFinancasExcluir_Click();
    void frmAgenda_cmdFinancasVoltar_Click();
    void frmAgenda_txtFinancasValor_LostFocus();
    void frmAgenda_txtFinancasSaldoInicial_LostFocus();
    void frmAgenda_cmdSaldoAnterior_Click();

private:
    Navegacao &nav;
    MesFinanceiro mesExibido;
    LinhaLancamento aberto;  // the open entry as it was read
    QPixmap imgExecutado;
    void abrirDados();
    void fecharDados();
};
