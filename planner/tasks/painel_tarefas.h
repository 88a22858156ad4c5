#pragma once

#include "core/navegacao.h"
#include "platform/grade.h"
#include "tasks/modTarefas.h"
#include "platform/toolkit.h"

// The tasks panel of the main window: the task grid and the task form laid over it.
class PainelTarefas : public tk::Moldura {
public:
    PainelTarefas(QWidget *parent, Navegacao &nav);

    tk::Botao *cmdTarefaNova;
    tk::Grade *grdTarefas;
    tk::CaixaTexto *txtTarefasSemCadastro;

    tk::Moldura *frmTarefasDados;
    tk::CaixaTexto *txtTarefaDataInicio, *txtTarefaDataFim;
    tk::BotaoFigura *cmdCalTarefaInicio, *cmdCalTarefaFim;
    tk::Calendario *calTarefas;
    tk::CaixaTextoMultilinha *txtTarefaDescricao;
    tk::BotaoOpcao *optTarefaAlta, *optTarefaNormal, *optTarefaBaixa;
    tk::CaixaSelecao *chkTarefaExecutado;
    tk::Botao *cmdTarefaSalvar, *cmdTarefaExcluir, *cmdTarefaVoltar;

    // Which date the calendar is choosing: 0 the start, 1 the end.
    int CalendarioTarefaFim = 0;

    void frmAgenda_cmdTarefaNova_Click();
    void frmAgenda_grdTarefas_DblClick();
    void frmAgenda_cmdTarefaSalvar_Click();
    void frmAgenda_cmdTarefaExcluir_Click();
    void frmAgenda_cmdTarefaVoltar_Click();
    void frmAgenda_cmdCalTarefaInicio_Click();
    void frmAgenda_cmdCalTarefaFim_Click();
    void frmAgenda_calTarefas_DateClick();
    int frmAgenda_txtTarefaDescricao_KeyPress(int tecla);

    // Opens the task of a grid row (1 = first data row) in the task form.
    void AbrirLinha(int linha);
    // Forgets the signed-off user's tasks: the grid back to its header, the form closed and empty.
    void Limpar();

    // Rebuilds the task grid.
    void CarregarTarefas();
    // The rows the task grid shows, as its last load read them (the task report prints them).
    const QVector<LinhaTarefa> &TarefasExibidas() const;
    // Empties the task grid down to its header and forgets its rows (logout).
    void EsquecerTarefas();
    void AdicionarLinhaTarefa(qint64 chave, const QString &status, const QDate &data, const QDate &dataFim,
                              const QString &descricao, int prioridade);

private:
    Navegacao &nav;
    LinhaTarefa aberta;  // the open task as it was read
    QVector<LinhaTarefa> exibidas;
    int alturaDasLinhas = 0;  // running sum of the data rows' heights, in twips; each load starts it again
    void mostrarDados();
    void abrirCalendario(int fim);
};
