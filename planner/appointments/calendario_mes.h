#pragma once

#include "platform/toolkit.h"

#include <QVector>

// The month calendar frame of the appointments panel, laid over the day grid: the month's days
// in 42 cells, the chosen day highlighted, the days with appointments in bold.
class MolduraCalendario : public tk::Moldura {
public:
    explicit MolduraCalendario(QWidget *parent);

    tk::Rotulo *lblCalendarMes;
    QVector<tk::Rotulo *> lblDiaSemana;  // "dom" ... "sab"
    QVector<tk::Rotulo *> L;             // the 42 day cells, row by row
    QFrame *Shape1;                      // the highlight behind the chosen day
    tk::Botao *cmdAntMes, *cmdProxMes, *cmdExibirCompromissosCalendario, *cmdCalendarioVoltar;
    tk::CaixaSelecao *chkCompromissosCompartilhados;

    void frmAgenda_cmdAntMes_Click();
    void frmAgenda_cmdProxMes_Click();
    void frmAgenda_cmdExibirCompromissosCalendario_Click();
    void frmAgenda_cmdCalendarioVoltar_Click();
    void frmAgenda_L_Click(int indice);
    void frmAgenda_L_DblClick(int indice);

    // Opens on the month of the day the grid shows.
    void Abrir();
    // Cell indice bold in the marked colour, or plain.
    void PintarCelula(int indice, bool marcado);
    bool Marcada(int indice) const;
    // The highlight moves behind cell indice.
    void Destacar(int indice);

private:
    void navegar(int meses);
};
