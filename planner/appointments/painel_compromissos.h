#pragma once

#include "core/navegacao.h"
#include "appointments/modCompromissos.h"
#include "platform/grade.h"
#include "platform/toolkit.h"

class MolduraCalendario;

// The appointments panel of the main window: the day navigation, the day grid and the editing
// panel laid over it.
class PainelCompromissos : public tk::Moldura {
public:
    PainelCompromissos(QWidget *parent, Navegacao &nav);

    tk::Imagem *imdDiaAntes, *imgDiaApos;
    tk::Rotulo *lblDiaAnterior, *lblProximoDia;
    tk::Botao *cmdHoje;
    tk::BotaoFigura *cmdCompromissoCalendario;
    tk::Grade *grdCompromissos;
    MolduraCalendario *frmCalendar;

    tk::Moldura *frmDadosCompromisso;
    tk::CaixaTexto *txtDataCompromisso, *txtCompromissoInicio, *txtCompromissoFinal;
    tk::BotaoFigura *cmdExibirCalendarioPequeno;
    tk::Calendario *calCompromisso;
    tk::CaixaTextoMultilinha *txtDescricaoCompromisso;
    tk::CaixaSelecao *chkAvisar, *chkCompartilhar;
    tk::Moldura *frmCompromissoAgendaPeriodo;
    tk::CaixaCombinacao *cmbAgendarPara;
    tk::Rotulo *lblExecutado;
    tk::Botao *cmdCompromissoGravar, *cmdCompromissoExcluir, *cmdCompromissoVoltar;

    void frmAgenda_imdDiaAntes_Click();
    void frmAgenda_imgDiaApos_Click();
    void frmAgenda_cmdHoje_Click();
    void frmAgenda_grdCompromissos_DblClick();
    void frmAgenda_cmdCompromissoGravar_Click();
    void frmAgenda_cmdCompromissoExcluir_Click();
    void frmAgenda_cmdCompromissoVoltar_Click();
    void frmAgenda_cmdExibirCalendarioPequeno_Click();
    void frmAgenda_calCompromisso_DateClick();
    void frmAgenda_cmdCompromissoCalendario_Click();

    // Opens the editing panel for a row of the day grid (1 = first data row).
    void AbrirLinha(int linha);
    // Logout: every form closed and emptied, nothing of the user's left on the panel.
    void Limpar();

    // Rebuilds the day grid for a date.
    void MontarGrade(const QDate &dia);
    // The rows the day grid shows, as its last rebuild read them.
    const QVector<LinhaGrade> &LinhasExibidas() const;
    void AdicionarLinhaGrade(qint64 chave, const QString &chavePai, const QString &status, const QString &compartilhado,
                             qint64 dono, const QString &hora, const QString &horaFim, const QString &texto);

private:
    Navegacao &nav;
    CompromissoAberto aberto;     // the open appointment as the grid showed it
    QVector<LinhaGrade> exibidas;  // the rows the day grid shows
    void irParaODia(const QDate &dia);
    bool gravar();
};
