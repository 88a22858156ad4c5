// The planner's write paths run over and over through its own forms, for a parent test that
// kills this process at random moments: a new account, an appointment repeated over the week
// with continuation rows, an edit that replaces them, a profile change, and a deleted account.
// A line "passo" is written after each operation, so the parent can tell how far it got.

#include "appointments/painel_compromissos.h"
#include "core/frmAgenda.h"
#include "core/frmConfig.h"
#include "core/frmLogon.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/modal.h"
#include "platform/relogio.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

namespace {

void passo()
{
    std::fputs("passo\n", stdout);
    std::fflush(stdout);
}

int linhaDas(const QString &hora)
{
    tk::Grade &g = *frmAgenda().frmCompromissos->grdCompromissos;
    for (int r = 1; r < g.Rows(); ++r)
        if (g.TextMatrix(r, 2).startsWith(hora))
            return r;
    std::fprintf(stderr, "sem linha às %s\n", qPrintable(hora));
    std::exit(3);
}

void compromisso(const QString &fim, const QString &texto, int repeticao)
{
    PainelCompromissos &p = *frmAgenda().frmCompromissos;
    p.AbrirLinha(linhaDas(QStringLiteral("09:00")));
    p.txtCompromissoInicio->setText(QStringLiteral("09:00"));
    p.txtCompromissoFinal->setText(fim);
    p.txtDescricaoCompromisso->setText(texto);
    if (repeticao >= 0)
        p.cmbAgendarPara->setCurrentIndex(repeticao);
    p.cmdCompromissoGravar->click();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    bandeja::DefinirDisponivel(true);
    relogio::DefinirAgora(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));  // a Wednesday
    // Every question is agreed to, every notice acknowledged.
    modal::DefinirSemRoteiro([](QWidget &janela) {
        if (auto *m = dynamic_cast<FrmMsgBox *>(&janela))
            (m->cmdMOkay->isHidden() ? m->cmdMConfirmar : m->cmdMOkay)->click();
    });
    tk::DefinirTratadorErro([](const QString &erro) {
        std::fprintf(stderr, "erro: %s\n", qPrintable(erro));
        std::exit(2);
    });

    FrmAgenda &agenda = frmAgenda();
    FrmLogon &logon = frmLogon();
    if (!logon.frmLogon_Form_Load())
        return 1;
    PainelConfig &perfil = *agenda.frmConfig;
    for (int n = 0;; ++n) {
        const QString login = QStringLiteral("K%1X%2").arg(getpid()).arg(n);
        logon.txtLogin->setText(login);
        // With a password, so a later start never signs an account on by itself.
        logon.txtPass->setText(QStringLiteral("s"));
        logon.frmLogon_cmdNovoUsuario_Click();
        perfil.txtDadosNome->setText(QStringLiteral("Pessoa ") + login);
        perfil.txtDadosEmail->setText(QStringLiteral("p@exemplo.com.br"));
        perfil.txtSenhaReNova->setText(QStringLiteral("s"));
        perfil.txtAgendaIntervalo->setText(QStringLiteral("30"));
        perfil.cmdAgendaGravar->click();
        passo();

        agenda.frmAgenda_imgCompromissos_Click();
        compromisso(QStringLiteral("10:00"), QStringLiteral("Aula ") + login, 2);  // the rest of the week
        passo();
        compromisso(QStringLiteral("11:00"), QStringLiteral("Aula ") + login, -1);  // continuation rows replaced
        passo();

        perfil.frmAgenda_cmdConfig_Click();
        perfil.txtDadosNome->setText(QStringLiteral("Outra ") + login);
        perfil.cmdAgendaGravar->click();
        passo();

        // Every other account is deleted again, so the file holds both kinds of history.
        perfil.frmAgenda_cmdConfig_Click();
        perfil.txtSenhaAtual->setText(QStringLiteral("s"));
        if (n % 2 == 0)
            perfil.cmdExcluirUsuario->click();
        else
            agenda.frmAgenda_cmdLogout_Click();
        passo();
    }
}
