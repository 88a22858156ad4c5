#pragma once

#include "core/navegacao.h"
#include "platform/toolkit.h"

#include <QDate>
#include <QVector>

#include <functional>

// The month calendar frame of the appointments panel, laid over the day grid: the month's days
// in 42 cells, the chosen day highlighted, the days with appointments in bold.
class MolduraCalendario : public tk::Moldura {
public:
    MolduraCalendario(QWidget *parent, Navegacao &nav);

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
    // Lays the month out in the cells, none marked; the caption and the highlight follow
    // MesCalendario, so callers pass its month and year.
    void MontarCalendario(int mes, int ano);
    // A day double-clicked: the grid opens on it.
    std::function<void(const QDate &)> AoEscolherDia;

private:
    Navegacao &nav;
    void navegar(int meses);
};
