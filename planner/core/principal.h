#pragma once

#include "core/navegacao.h"

#include <functional>

class QWidget;

// What the sign-on, the tray menu, the reminder scan and the backup commands ask of the main
// window, on top of what its panels ask. The main window implements it and registers itself
// when it is made, so none of them knows the window itself.
class JanelaPrincipal : public Navegacao {
public:
    virtual QWidget &Janela() = 0;
    // Fills the window for the user signed on: at the first showing, and again when a sign-on
    // finds the session ended or the data restored.
    virtual void Carregar() = 0;
    // Shows the window, loading it the first time.
    virtual void Mostrar() = 0;
    // Logs the user out: the window hidden, every session value back to its start value, every
    // panel emptied, the timers stopped, the logon form ready for the next sign-on.
    virtual void EncerrarSessao() = 0;
    // Logs the user out and shows the logon form.
    virtual void Sair() = 0;
    // Logs the user out after a restore and loads the logon form again, as at the program's
    // start; false when the program must end.
    virtual bool RecomecarComDadosRestaurados() = 0;
    // The reminder timer: off while the database file is read or replaced.
    virtual void AtivarChecagem(bool ativa) = 0;
    // Both timers stop: nobody is signed on after all.
    virtual void PararTemporizadores() = 0;

protected:
    ~JanelaPrincipal() = default;
};

void DefinirJanelaPrincipal(JanelaPrincipal *janela);
// The registered main window; std::logic_error before one was made.
JanelaPrincipal &janelaPrincipal();

// The reminder window, once one exists: the tray brings it to the front before anything else.
extern std::function<QWidget *()> JanelaDeLembrete;
