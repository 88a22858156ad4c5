#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The calculator's registers. It works as an adding machine: each operation key applies itself
// at once to the running result and the number just typed.
struct RegistrosCalculadora {
    double Acumulador = 0;     // the running result; 0 counts as no result yet
    double ValorDigitado = 0;  // the operand last read from the display
    QString OperacaoPendente;  // "", "A" add, "S" subtract, "M" multiply, "D" divide
    QString EstadoEntrada;     // "" typing a number, "N" after an operation key, "S" after equals
    double Memoria = 0;
};

// Every value the planner keeps for the signed-on user, in one place: the identity and
// preferences read at sign-on and the values the panels keep between handlers. Logging out puts
// all of them back to the start values written here (ReiniciarValores).
struct ValoresSessao {
    // Identity (filled at sign-on).
    qint64 Codigo = 0;  // 0 while nobody is signed on
    QString Login;
    QString Senha;          // the plain password of a new account, only until its profile is saved
    QString SenhaGuardada;  // the signed-on user's password as stored (a hash), "" for none
    QString Nome, Endereco, Cidade, Estado, Cep, FoneRes, FoneCel, Email;
    QDate Aniversario = QDate(1900, 1, 1);
    QString Pastinha;

    // Preferences (read from Configuracao when the main window loads, and by the profile).
    qint64 ChaveConfiguracao = 0;
    QTime InicioGrade = QTime(0, 0);
    QTime FinalGrade = QTime(0, 0);
    int Intervalos = 0;
    int ChecagemGeral = 0;
    QString PosicaoAniversarios;
    QString SomCompromisso;
    bool VisualizarCompartilhamento = false;

    // Navigation.
    QDate DiaExibido;     // the day of the day grid; "now" at each reset
    QString PainelAtual;  // the panel shown
    bool NovoUsuario = false;

    // Panels' own values.
    int MinutosChecagem = 0;          // minutes counted towards the next reminder scan
    bool ChecagemIniciada = false;    // the first scan since sign-on has run
    qint64 CompromissoLembrete = 0;   // row shown in the reminder window
    qint64 CompromissoEmEdicao = 0;     // appointment open in the editing panel (0: new)
    bool TinhaHoraFinal = false;      // that appointment already had continuation rows
    QDate MesCalendario;              // month of the month calendar; "now" at each reset
    RegistrosCalculadora Calculadora;
    int MesFinancas = 0;              // ledger month shown (1..12); 0 until first shown
    int AnoFinancas = 0;              // ledger year shown
    qint64 ChaveLancamento = 0;       // ledger entry open in the entry panel (0: new)
    QString FiltroContatos;           // condition of the contact list's last letter tab or search
    int LetraAtual = 0;               // letter tab last chosen (0 = "0-9")
    qint64 ChaveContato = 0;          // contact open in the contact panel (0: new)
    qint64 ChaveAniversarioContato = 0;  // that contact's birthday row (0: none)
    qint64 ChaveTarefa = 0;           // task open in the task panel (0: new)
    qint64 ChaveNota = 0;             // the user's note row, 0 while none is known
};

struct DadosSessao : ValoresSessao {
    // Flags that outlive a logout: they tell the next sign-on to load the main window again.
    bool DadosRestaurados = false;
    bool SessaoEncerrada = false;
    QChar SeparadorDecimal = u',';

    // Every value back to its start value; the flags above stay.
    void ReiniciarValores();
};

extern DadosSessao Sessao;
