#pragma once

#include "platform/bandeja.h"
#include "platform/toolkit.h"

// The start-up form: single copy, screen check, database probe, tray icon and sign-on.
class FrmLogon : public tk::Formulario {
public:
    FrmLogon();

    tk::Figura *picLogon;
    tk::Rotulo *Label1, *lblLogin, *lblSenha;
    tk::CaixaTexto *txtLogin, *txtPass;
    tk::Botao *cmdLogar, *cmdNovoUsuario;
    tk::Imagem *imgFechar;
    bandeja::Icone iconeBandeja;

    // Runs when the program starts and after a restore; false when the program must end.
    bool frmLogon_Form_Load();
    void frmLogon_cmdLogar_Click();
    void frmLogon_cmdNovoUsuario_Click();
    int frmLogon_txtLogin_KeyPress(int tecla);
    int frmLogon_txtPass_KeyPress(int tecla);
    void frmLogon_imgFechar_Click();
    // Mouse messages of the tray icon (514 left button up, 517 right button up).
    void frmLogon_Bandeja_MouseMove(int mensagem);
    // Tray left click and "&Mostrar": brings forward whatever the user is in the middle of.
    void ExibirPelaBandeja();

    // True when the last load signed the only password-less user on.
    bool EntrouAutomaticamente() const { return entrouAutomaticamente; }

private:
    // What a sign-on puts up (the wait window, the disabled face, the hourglass) comes down on
    // every way out; a sign-on that fails leaves nobody signed on and the logon form ready.
    class Entrada {
    public:
        explicit Entrada(FrmLogon &form);
        ~Entrada();
        Entrada(const Entrada &) = delete;
        Entrada &operator=(const Entrada &) = delete;

    private:
        FrmLogon &form;
        int excecoes;
    };

    QString loginDigitado() const;
    bool primeiraCarga = true;
    bool entrouAutomaticamente = false;
    void entrar(bool novoUsuario);
    void abrirAgenda(bool consultarLinhaDeComando);
    void ProbeFalhou(const QString &erro);
};

FrmLogon &frmLogon();

// The program's start: the logon form's load, whose errors are reported like any handler's.
// False when the program must end at once.
bool IniciarPrograma();

void IncluirIconeBandeja(FrmLogon &form, const QString &dica);
void RemoverIconeBandeja(FrmLogon &form);
