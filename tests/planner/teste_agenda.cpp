// The main window: load, panel switching, logout, tray and help.

#include "apoio.h"
#include "appointments/painel_compromissos.h"
#include "contacts/painel_enderecos.h"
#include "core/frmAgenda.h"
#include "core/frmConfig.h"
#include "core/frmLogon.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/programa.h"
#include "core/sessao.h"
#include "finances/painel_financas.h"
#include "platform/bandeja.h"
#include "platform/documentos.h"
#include "platform/localidade.h"
#include "platform/modal.h"
#include "platform/relogio.h"
#include "tasks/painel_notas.h"
#include "tasks/painel_tarefas.h"

#include <gtest/gtest.h>

namespace {

struct Agenda : ::testing::Test {
    BaseDeTeste base;
    int ana = 0;
    QList<QUrl> abertos;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(QDate(2003, 10, 14), QTime(9, 41, 7)));
        localidade::Definir(QLocale(QLocale::Portuguese, QLocale::Brazil));
        documentos::DefinirAbridor([this](const QUrl &u) {
            abertos << u;
            return true;
        });
        ana = base.InserirUsuario(QStringLiteral("ANA"), std::nullopt, QStringLiteral("Ana Souza"));
        base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }

    QString pastinhaGuardada() { return base.Valor(QStringLiteral("Select Pastinha from Usuarios Where Codigo = %1").arg(ana)); }

    // The panels shown, by their names.
    QStringList paineisVisiveis()
    {
        FrmAgenda &f = frmAgenda();
        const std::pair<QWidget *, const char *> paineis[] = {
            {f.frmInicial, "Inicial"},   {static_cast<QWidget *>(static_cast<QFrame *>(f.frmCompromissos)), "Compromissos"}, {f.frmEndereco, "Enderecos"},
            {f.frmFinancas, "Financas"}, {f.frmTarefas, "Tarefas"},           {f.frmNotas, "Notas"},
            {f.frmConfig, "Configuracao"}};
        QStringList visiveis;
        for (const auto &[p, nome] : paineis)
            if (p->isVisible())
                visiveis << QString::fromLatin1(nome);
        return visiveis;
    }
};

} // namespace

TEST_F(Agenda, AbreNoUltimoPainelDoUsuario)
{
    const struct {
        const char *pastinha;
        int left, width;  // tab-edge frame, twips
        bool impressora;
    } casos[] = {
        {"Inicial", 10255, 300, false},  {"Compromissos", 5140, 1480, true}, {"Enderecos", 6640, 1075, true},
        {"Financas", 7740, 950, true},   {"Tarefas", 8695, 845, true},       {"Notas", 9550, 695, false},
    };
    for (const auto &c : casos) {
        base.Executar(QStringLiteral("Update Usuarios set Pastinha = '%1' Where Codigo = %2").arg(QLatin1String(c.pastinha)).arg(ana));
        Entrar(QStringLiteral("ANA"));
        FrmAgenda &f = frmAgenda();
        EXPECT_EQ(paineisVisiveis(), QStringList{QLatin1String(c.pastinha)});
        EXPECT_EQ(Sessao.PainelAtual, QLatin1String(c.pastinha));
        EXPECT_TRUE(f.frmLinhaApagar->isVisible()) << c.pastinha;
        EXPECT_EQ(tk::Left(*f.frmLinhaApagar), c.left) << c.pastinha;
        EXPECT_EQ(tk::Width(*f.frmLinhaApagar), c.width) << c.pastinha;
        EXPECT_EQ(tk::Top(*f.frmLinhaApagar), 7075);
        EXPECT_EQ(f.imgImpressora->isVisible(), c.impressora) << c.pastinha;
        f.frmAgenda_cmdLogout_Click();
    }
}

TEST_F(Agenda, CargaPreencheIdentidadeDataEPreferencias)
{
    base.Executar(QStringLiteral("Update Usuarios set FoneCel = '81 99999-0000' Where Codigo = %1").arg(ana));
    base.Executar(QStringLiteral("Update Configuracao set InicioGrade='07:30', FinalGrade='18:00', Intervalos=15, "
                                 "ChecagemGeral=5, PosicaoAniversarios='D', SomCompromisso='Tiro', VisualizarCompartilhamento='N' "
                                 "Where Usuario = %1").arg(ana));
    localidade::Definir(QLocale(QLocale::English, QLocale::UnitedStates));
    Entrar(QStringLiteral("ANA"));
    FrmAgenda &f = frmAgenda();
    EXPECT_EQ(f.lblIdentNome->text(), QStringLiteral("Ana Souza"));
    EXPECT_EQ(f.lblIdentCelular->text(), QStringLiteral("Celular : 81 99999-0000"));
    EXPECT_EQ(f.lblIdentTelefone->text(), QStringLiteral("Telefone :  "));  // stored as one space
    EXPECT_EQ(f.lblHora->text(), QStringLiteral("09:41"));
    EXPECT_EQ(f.lblData->text(), QStringLiteral("Tuesday, October 14, 2003 "));
    EXPECT_EQ(Sessao.SeparadorDecimal, u'.');
    EXPECT_EQ(f.cmdLogout->toolTip(), QStringLiteral("Encerrar Sessão do Usuário [ANA]"));
    EXPECT_EQ(Sessao.InicioGrade, QTime(7, 30));
    EXPECT_EQ(Sessao.FinalGrade, QTime(18, 0));
    EXPECT_EQ(Sessao.Intervalos, 15);
    EXPECT_EQ(Sessao.ChecagemGeral, 5);
    EXPECT_EQ(Sessao.PosicaoAniversarios, QStringLiteral("D"));
    EXPECT_EQ(Sessao.SomCompromisso, QStringLiteral("Tiro"));
    EXPECT_FALSE(Sessao.VisualizarCompartilhamento);
    EXPECT_EQ(Sessao.DiaExibido, QDate(2003, 10, 14));
    EXPECT_TRUE(f.tmrChecagem->Ativo());
    EXPECT_EQ(f.tmrChecagem->Intervalo(), 60000);
    EXPECT_TRUE(f.tmrRelogio->Ativo());
    EXPECT_TRUE(f.frmConfig->cmdExcluirUsuario->isVisibleTo(f.frmConfig));
}

TEST_F(Agenda, TrocaDePainelGuardaAPastinha)
{
    Entrar(QStringLiteral("ANA"));
    FrmAgenda &f = frmAgenda();
    f.frmAgenda_imgTarefas_Click();
    EXPECT_EQ(paineisVisiveis(), QStringList{QStringLiteral("Tarefas")});
    EXPECT_EQ(pastinhaGuardada(), QStringLiteral("Tarefas"));
    EXPECT_EQ(Sessao.Pastinha, QStringLiteral("Tarefas"));

    // The tab already shown: nothing changes and nothing is written.
    base.Executar(QStringLiteral("Update Usuarios set Pastinha = 'Marca' Where Codigo = %1").arg(ana));
    f.frmAgenda_imgTarefas_Click();
    EXPECT_EQ(pastinhaGuardada(), QStringLiteral("Marca"));

    // The profile is written as the last panel, but the session keeps the previous one.
    f.cmdConfig->click();
    EXPECT_EQ(paineisVisiveis(), QStringList{QStringLiteral("Configuracao")});
    EXPECT_EQ(pastinhaGuardada(), QStringLiteral("Configuracao"));
    EXPECT_EQ(Sessao.Pastinha, QStringLiteral("Tarefas"));
    EXPECT_FALSE(f.frmLinhaApagar->isVisible());
    EXPECT_FALSE(f.imgImpressora->isVisible());

    f.frmAgenda_imgCompromissos_Click();
    EXPECT_EQ(paineisVisiveis(), QStringList{QStringLiteral("Compromissos")});
    EXPECT_TRUE(f.imgImpressora->isVisible());
}

TEST_F(Agenda, VoltaAoUltimoPainelNaProximaEntrada)
{
    Entrar(QStringLiteral("ANA"));
    frmAgenda().frmAgenda_imgNotas_Click();
    frmAgenda().frmAgenda_cmdLogout_Click();
    EXPECT_FALSE(frmAgenda().isVisible());
    EXPECT_TRUE(frmLogon().isVisible());
    EXPECT_TRUE(frmLogon().txtPass->text().isEmpty());
    Entrar(QStringLiteral("ANA"));
    EXPECT_EQ(paineisVisiveis(), QStringList{QStringLiteral("Notas")});
    EXPECT_TRUE(frmAgenda().isVisible());
}

TEST_F(Agenda, NovoUsuarioSoVeOPerfil)
{
    FrmLogon &logon = frmLogon();
    ASSERT_TRUE(logon.frmLogon_Form_Load());
    logon.show();
    logon.txtLogin->setText(QStringLiteral("CAIO"));
    logon.txtPass->setText(QStringLiteral("x1"));
    logon.frmLogon_cmdNovoUsuario_Click();
    FrmAgenda &f = frmAgenda();
    EXPECT_EQ(paineisVisiveis(), QStringList{QStringLiteral("Configuracao")});
    EXPECT_FALSE(f.frmLinhaApagar->isVisible());
    EXPECT_FALSE(f.tmrChecagem->Ativo());
    EXPECT_FALSE(f.frmConfig->cmdExcluirUsuario->isVisibleTo(f.frmConfig));
    EXPECT_EQ(f.lblIdentNome->text(), QStringLiteral("Seu Nome"));
    EXPECT_EQ(f.lblIdentTelefone->text(), QStringLiteral("Telefone : Seu Telefone"));
    EXPECT_EQ(f.lblIdentCelular->text(), QStringLiteral("Celular : Seu Celular"));
    EXPECT_TRUE(f.lblIdentEmail->text().startsWith(QStringLiteral("Seu")));

    for (tk::Imagem *aba : {f.imgAjuda, f.imgCompromissos, f.imgEnderecos, f.imgFinancas, f.imgTarefas, f.imgNotas}) {
        auto aviso = ResponderMensagem();
        aba->Click();
        EXPECT_EQ(aviso->texto, QStringLiteral("Informe os seus Dados Cadastrais e os da Sua Agenda, depois selecione Gravar para ter acesso as funções!"));
        EXPECT_EQ(aviso->icone, 2);
        EXPECT_EQ(paineisVisiveis(), QStringList{QStringLiteral("Configuracao")});
    }
    f.cmdConfig->click();  // nothing in new-user mode
    f.frmAgenda_cmdLogout_Click();  // nor does the logout button
    EXPECT_TRUE(f.isVisible());
}

TEST_F(Agenda, EncerrarSessaoVoltaTudoAoInicio)
{
    Entrar(QStringLiteral("ANA"));
    Sessao.CompromissoEmEdicao = 12;
    Sessao.TinhaHoraFinal = true;
    Sessao.DiaExibido = QDate(2001, 1, 1);
    relogio::DefinirAgora(QDateTime(QDate(2003, 10, 20), QTime(8, 0)));
    frmAgenda().EncerrarSessao();
    EXPECT_EQ(Sessao.Codigo, 0);
    EXPECT_TRUE(Sessao.Login.isEmpty());
    EXPECT_TRUE(Sessao.Pastinha.isEmpty());
    EXPECT_TRUE(Sessao.PainelAtual.isEmpty());
    EXPECT_TRUE(Sessao.SomCompromisso.isEmpty());
    EXPECT_EQ(Sessao.ChaveConfiguracao, 0);
    EXPECT_EQ(Sessao.Intervalos, 0);
    EXPECT_EQ(Sessao.CompromissoEmEdicao, 0);
    EXPECT_FALSE(Sessao.TinhaHoraFinal);
    EXPECT_EQ(Sessao.DiaExibido, QDate(2003, 10, 20));
    EXPECT_EQ(Sessao.MesCalendario, QDate(2003, 10, 20));
    EXPECT_TRUE(Sessao.SessaoEncerrada);
    EXPECT_FALSE(frmAgenda().tmrChecagem->Ativo());
    EXPECT_FALSE(frmAgenda().tmrRelogio->Ativo());
    EXPECT_TRUE(frmLogon().cmdLogar->isEnabled());

    base.Executar(QStringLiteral("Delete from Usuarios"));
    frmAgenda().EncerrarSessao();
    EXPECT_FALSE(frmLogon().cmdLogar->isEnabled());
    EXPECT_FALSE(frmLogon().txtPass->isEnabled());
}

TEST_F(Agenda, BandejaEMenu)
{
    Entrar(QStringLiteral("ANA"));
    FrmAgenda &f = frmAgenda();
    FrmLogon &logon = frmLogon();
    EXPECT_TRUE(frmMenu().LogOut->isVisible());

    f.frmAgenda_imgMinimizar_Click();
    EXPECT_FALSE(f.isVisible());
    logon.frmLogon_Bandeja_MouseMove(bandeja::BotaoEsquerdoSolto);
    EXPECT_TRUE(f.isVisible());

    // A reminder on the screen comes first; the main window is not shown.
    QWidget lembrete;
    JanelaDeLembrete = [&] { return &lembrete; };
    lembrete.show();
    f.hide();
    logon.frmLogon_Bandeja_MouseMove(bandeja::BotaoEsquerdoSolto);
    EXPECT_FALSE(f.isVisible());
    frmMenu().frmMenu_Mostrar_Click();
    EXPECT_FALSE(f.isVisible());
    lembrete.hide();
    JanelaDeLembrete = [] { return static_cast<QWidget *>(nullptr); };

    logon.frmLogon_Bandeja_MouseMove(bandeja::BotaoDireitoSolto);
    EXPECT_TRUE(frmMenu().mnu0.isVisible());
    frmMenu().mnu0.hide();

    frmMenu().LogOut->trigger();
    EXPECT_FALSE(frmMenu().LogOut->isVisible());
    EXPECT_TRUE(logon.isVisible());
    EXPECT_EQ(Sessao.Codigo, 0);
    logon.hide();
    logon.frmLogon_Bandeja_MouseMove(bandeja::BotaoEsquerdoSolto);
    EXPECT_TRUE(logon.isVisible());
    EXPECT_FALSE(f.isVisible());

    frmMenu().Encerrar->trigger();
    EXPECT_TRUE(programa::Encerrado());
    EXPECT_FALSE(logon.iconeBandeja.Incluido());
    EXPECT_FALSE(logon.isVisible());
}

TEST_F(Agenda, AjudaAbreODocumentoDaPastaDoPrograma)
{
    Entrar(QStringLiteral("ANA"));
    frmAgenda().cmdAjuda->click();
    ASSERT_EQ(abertos.size(), 1);
    EXPECT_EQ(abertos.first().toLocalFile(), QDir(modDb::PastaPrograma()).filePath(QStringLiteral("AjudaAgenda.doc")));
}
