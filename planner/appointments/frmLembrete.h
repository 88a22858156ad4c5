#pragma once

#include "platform/grade.h"
#include "platform/toolkit.h"

struct Lembrete;

// The reminder window: one due birthday or appointment, its sound, and the buttons that execute,
// delete or reschedule it. The scan sets it up for one row, shows it modally and waits.
class FrmLembrete : public tk::Formulario {
public:
    explicit FrmLembrete(QWidget *principal);

    tk::Rotulo *lblData, *lblLembrete, *lblHoraAviso, *lblHoraTermino, *lblAniversario, *lblDescricao, *lblReagendar;
    tk::CaixaTexto *TxtData, *TxtHora, *txtHoraFim;
    tk::CaixaTextoMultilinha *TxtCompromisso;
    tk::CaixaCombinacao *cmbReAgendar;
    tk::Botao *cmdReagendar, *cmdExcluir, *cmdExecutar;
    tk::Temporizador *Timer1;

    void frmLembrete_Form_Activate();
    void frmLembrete_Timer1_Timer();
    void frmLembrete_cmdExecutar_Click();
    void frmLembrete_cmdExcluir_Click();
    void frmLembrete_cmdReagendar_Click();

    // The two modes, set up before a showing.
    void PrepararAniversario(const Lembrete &l);
    void PrepararCompromisso(const Lembrete &l);
    // The last showing ended through one of the three buttons (not by a logout or the end of
    // the program hiding the window).
    bool FechadoPorBotao() const { return fechadoPorBotao; }

protected:
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    bool ativado = false;  // the first activation of this showing has run
    bool fechadoPorBotao = false;
    bool modoAniversario() const;
    void fechar();
};

// The main window's reminder timer: scans for due birthdays and appointments and shows each in
// the reminder window over the main window, one after another. True when a checking period ended
// after a reminder was shown: the grid shown is stale.
bool ChecarLembretes(QWidget &principal);
