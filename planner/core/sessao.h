#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Every value the planner keeps for the signed-on user, in one place: the identity and
// preferences read at sign-on and the values the panels keep between handlers. Logging out puts
// all of them back to the start values written here (ReiniciarValores).
struct ValoresSessao {
    // Identity (filled at sign-on).
    qint64 Codigo = 0;  // 0 while nobody is signed on
    QString Login;
    QString Senha;   // plain text, "" for none
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
    qint64 CompromissoEmEdicao = 0;     // appointment open in the editing panel (0: new)
    bool TinhaHoraFinal = false;      // that appointment already had continuation rows
    QDate MesCalendario;              // month of the month calendar; "now" at each reset
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
