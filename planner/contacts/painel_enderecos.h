#pragma once

#include "core/navegacao.h"
#include "contacts/modEndereco.h"
#include "platform/grade.h"
#include "platform/toolkit.h"

#include <QVector>

// The address-book panel of the main window: the letter tabs, the contact list with its search,
// and the contact panel laid over the list.
class PainelEnderecos : public tk::Moldura {
public:
    PainelEnderecos(QWidget *parent, Navegacao &nav);

    tk::Moldura *frmLetras;
    QVector<tk::Botao *> cmdLetra;  // 26 tabs: "0-9", A .. W, "X/Y", Z
    tk::Grade *grdEndereco;
    tk::CaixaTexto *txtEnderecoSemRegistro;
    tk::Moldura *frmPesquisaEndereco;
    tk::CaixaTexto *txtPesquisaNome, *txtPesquisaEmpresa, *txtPesquisaTelefone, *txtPesquisaEmail;
    tk::Botao *cmdEnderecoPesquisar, *cmdEnderecoLimpar, *cmdEnderecoNovo;

    tk::Moldura *frmDadosEndereco;
    tk::CaixaTexto *txtDadosEndNome, *txtDadosEndEmpresa, *txtDadosEndEndereco, *txtDadosEndCidade, *txtDadosEndEstado,
        *txtDadosEndCep, *txtDadosEndEmail, *txtDadosEndFoneRes, *txtDadosEndFoneCel, *txtDadosEndFoneCom,
        *txtDadosEndAniversario;
    tk::CaixaTextoMultilinha *txtDadosEndObservacao;
    tk::CaixaSelecao *chkEndCompartilhar;
    tk::Botao *cmdEnderecoSalvar, *cmdEnderecoExcluir, *cmdEnderecoVoltar;
    tk::BotaoFigura *cmdEmailContato;

    // Resets the grid to its header; with preencher, fills it with the contacts under filtro.
    void CarregarContatos(bool preencher, const QString &filtro);
    // Writes the next row after those written since the last reset, growing the grid when no
    // room was made for it.
    void AdicionarLinhaContato(const LinhaContato &linha);
    // The rows the grid shows, in its order (row 1 is the first).
    const QVector<LinhaContato> &Linhas() const { return linhas; }
    // Opens the contact of a grid row (1 = first data row) in the contact panel.
    void AbrirLinha(int linha);
    // Logout: the list, the tabs' colours and every box back to their first state.
    void Limpar();

    void frmAgenda_cmdLetra_Click(int Index);
    void frmAgenda_cmdEnderecoPesquisar_Click();
    void frmAgenda_cmdEnderecoLimpar_Click();
    void frmAgenda_grdEndereco_DblClick();
    void frmAgenda_cmdEmailContato_Click();
    void frmAgenda_cmdEnderecoNovo_Click();
    void frmAgenda_cmdEnderecoSalvar_Click();
    void frmAgenda_cmdEnderecoExcluir_Click();
    void frmAgenda_cmdEnderecoVoltar_Click();

private:
    Navegacao &nav;
    QVector<LinhaContato> linhas;
    Contato aberto;  // the open contact as it was read
    void pintarLetra(int indice, const QColor &cor);
    // The contact panel's one-line boxes with the field each holds (the note is the twelfth box).
    QVector<std::pair<QString Contato::*, tk::CaixaTexto *>> caixasDoContato() const;
    void habilitarContato(bool habilitado);  // the twelve boxes and the share box
    void esvaziarContato();
};
