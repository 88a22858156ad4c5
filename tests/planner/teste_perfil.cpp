// The profile panel: checks, creating, updating and deleting a user, the sound preview.

#include "apoio.h"
#include "core/frmAgenda.h"
#include "core/frmConfig.h"
#include "core/frmLogon.h"
#include "core/frmMenu.h"
#include "core/modSenha.h"
#include "core/sessao.h"
#include "platform/audio.h"
#include "platform/bandeja.h"
#include "platform/modal.h"
#include "resources/recursos.h"

#include <gtest/gtest.h>

namespace {

struct Perfil : ::testing::Test {
    BaseDeTeste base;
    audio::Falso som;
    int ana = 0;
    QStringList erros;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        audio::UsarFalso(&som);
        ana = base.InserirUsuario(QStringLiteral("ANA"), std::nullopt, QStringLiteral("Ana Souza"));
        base.InserirUsuario(QStringLiteral("BIA"), CodificarSenha(QStringLiteral("abc")));
    }
    void TearDown() override
    {
        audio::UsarFalso(nullptr);
        EXPECT_EQ(modal::RoteirosPendentes(), 0);
    }
    PainelConfig &abrir(const QString &login, const QString &senha = QString())
    {
        Entrar(login, senha);
        PainelConfig &p = *frmAgenda().frmConfig;
        frmAgenda().cmdConfig->click();
        EXPECT_TRUE(p.isVisible());
        return p;
    }
    // What the profile may write, as text, to see that a refused save wrote nothing.
    QString conteudo()
    {
        return base.Valor(QStringLiteral("Select group_concat(Login||Nome||ifnull(Endereco,'~')||Email||FoneRes||FoneCel||Aniversario||ifnull(Senha,'~'),'|') from Usuarios")) +
               base.Valor(QStringLiteral("Select group_concat(InicioGrade||FinalGrade||Intervalos||ChecagemGeral||PosicaoAniversarios||SomCompromisso||VisualizarCompartilhamento,'|') from Configuracao"));
    }
    void usarTratadorDeErros()
    {
        tk::DefinirTratadorErro([this](const QString &e) { erros << e; });
    }
};

} // namespace

TEST_F(Perfil, AbrirPreencheComASessao)
{
    base.Executar(QStringLiteral("Update Usuarios set Aniversario='1980-05-17', Cidade='Recife' Where Codigo=%1").arg(ana));
    base.Executar(QStringLiteral("Update Configuracao set PosicaoAniversarios='D', SomCompromisso='Nave', VisualizarCompartilhamento='N' Where Usuario=%1").arg(ana));
    PainelConfig &p = abrir(QStringLiteral("ANA"));
    EXPECT_EQ(p.txtDadosNome->text(), QStringLiteral("Ana Souza"));
    EXPECT_EQ(p.txtDadosCidade->text(), QStringLiteral("Recife"));
    EXPECT_EQ(p.txtDadosNascimento->text(), QStringLiteral("17/05/1980"));
    EXPECT_EQ(p.txtAgendaInicio->text(), QStringLiteral("08:00"));
    EXPECT_EQ(p.txtAgendaIntervalo->text(), QStringLiteral("30"));
    EXPECT_TRUE(p.optAgendaNiverFim->isChecked());
    EXPECT_EQ(p.cmbAgendaSom->currentText(), QStringLiteral("Nave"));
    EXPECT_FALSE(p.chkAgendaVisCompartilhados->isChecked());
    EXPECT_FALSE(p.txtSenhaAtual->isEnabled());  // no password to confirm
    EXPECT_EQ(Sessao.PainelAtual, QStringLiteral("Configuracao"));
}

TEST_F(Perfil, VerificacoesNaOrdemSemGravarNada)
{
    PainelConfig &p = abrir(QStringLiteral("ANA"));
    const QString antes = conteudo();
    const struct {
        std::function<void()> preparar;
        const char *mensagem;
        int icone;
        QWidget *foco;
    } casos[] = {
        {[&] { p.txtDadosNome->setText(QStringLiteral("  ")); }, "Informe o Nome!", 2, p.txtDadosNome},
        {[&] { p.txtDadosEmail->clear(); }, "Informe o Email!", 2, p.txtDadosEmail},
        {[&] { p.txtDadosEmail->setText(QStringLiteral("ana.exemplo.com")); }, "Informe um Email Válido!", 3, p.txtDadosEmail},
        {[&] { p.txtDadosNascimento->setText(QStringLiteral("31/02/2000")); }, "Informe uma Data Válida para o seu Aniversário!", 2, p.txtDadosNascimento},
        {[&] { p.txtSenhaNova->setText(QStringLiteral("x")); p.txtSenhaReNova->setText(QStringLiteral("y")); },
         "Nova Senha e Confirmação Diferentes !", 3, p.txtSenhaReNova},
        {[&] { p.txtAgendaInicio->clear(); }, "Informe o Horário para o Início da Grade!", 2, p.txtAgendaInicio},
        {[&] { p.txtAgendaInicio->setText(QStringLiteral("93:0")); }, "Informe um Horário Válido para o Início da Grade!", 3, p.txtAgendaInicio},
        {[&] { p.txtAgendaFim->setText(QStringLiteral(" ")); }, "Informe o Horário para o Fim da Grade!", 2, p.txtAgendaFim},
        {[&] { p.txtAgendaFim->setText(QStringLiteral("24:00")); }, "Informe um Horário Válido para o Fim da Grade!", 3, p.txtAgendaFim},
        {[&] { p.txtAgendaFim->setText(QStringLiteral("08:00")); }, "Hora de Início não pode ser Maior que Hora Final da Grade!", 3, p.txtAgendaInicio},
        {[&] { p.txtAgendaFim->setText(QStringLiteral("07:59")); }, "Hora de Início não pode ser Maior que Hora Final da Grade!", 3, p.txtAgendaInicio},
        {[&] { p.txtAgendaIntervalo->clear(); }, "Informe o Intervalo da Grade!", 2, frmAgenda().picFocus},
        {[&] { p.txtAgendaIntervalo->setText(QStringLiteral("-")); }, "Informe um Valor Válido para o Intervalo da Grade!", 3, p.txtAgendaIntervalo},
        {[&] { p.txtAgendaIntervalo->setText(QStringLiteral("0")); }, "Informe no mínimo 1 ou no máximo 60 minutos para o Intervalo da Grade!", 2, p.txtAgendaIntervalo},
        {[&] { p.txtAgendaIntervalo->setText(QStringLiteral("61")); }, "Informe no mínimo 1 ou no máximo 60 minutos para o Intervalo da Grade!", 2, p.txtAgendaIntervalo},
        {[&] { p.txtAgendaIntervalo->setText(QStringLiteral("-5")); }, "Informe no mínimo 1 ou no máximo 60 minutos para o Intervalo da Grade!", 2, p.txtAgendaIntervalo},
        {[&] { p.txtAgendaTempoChecagem->clear(); }, "Informe o Tempo de Checagem!", 2, p.txtAgendaTempoChecagem},
        {[&] { p.txtAgendaTempoChecagem->setText(QStringLiteral(".")); }, "Informe um Valor Válido para o Tempo de Checagem!", 3, p.txtAgendaTempoChecagem},
        {[&] { p.txtAgendaTempoChecagem->setText(QStringLiteral("99")); }, "Informe no mínimo 1 ou no máximo 60 minutos para o Tempo de Checagem!", 2, p.txtAgendaTempoChecagem},
    };
    for (const auto &c : casos) {
        // Back to a freshly opened panel (opening again while shown changes nothing).
        p.frmAgenda_cmdAgendaCancelar_Click();
        frmAgenda().cmdConfig->click();
        c.preparar();
        auto vista = ResponderMensagem();
        p.cmdAgendaGravar->click();
        EXPECT_EQ(vista->texto.toStdString(), c.mensagem);
        EXPECT_EQ(vista->icone, c.icone) << c.mensagem;
        EXPECT_EQ(frmAgenda().focusWidget(), c.foco) << c.mensagem;
        EXPECT_EQ(conteudo(), antes) << c.mensagem;
        EXPECT_TRUE(p.isVisible()) << c.mensagem;
    }
}

TEST_F(Perfil, GravaNoFormatoDaBaseEAtualizaASessao)
{
    PainelConfig &p = abrir(QStringLiteral("ANA"));
    p.txtDadosNome->setText(QStringLiteral(" Ana D'Ávila "));
    p.txtDadosEndereco->clear();
    p.txtDadosCidade->setText(QStringLiteral("Olinda"));
    p.txtDadosTelefone->clear();
    p.txtDadosCelular->setText(QStringLiteral("(81)99999"));
    p.txtDadosNascimento->setText(QStringLiteral("1/2/2000"));
    p.txtAgendaInicio->setText(QStringLiteral("7:5"));
    p.txtAgendaFim->setText(QStringLiteral("18"));
    p.txtAgendaIntervalo->setText(QStringLiteral("60"));
    p.txtAgendaTempoChecagem->setText(QStringLiteral("1"));
    p.optAgendaNiverFim->setChecked(true);
    p.cmbAgendaSom->setCurrentText(QStringLiteral("Sirene"));
    p.chkAgendaVisCompartilhados->setChecked(false);
    auto sucesso = ResponderMensagem();
    p.cmdAgendaGravar->click();
    EXPECT_EQ(sucesso->texto, QStringLiteral("Dados Gravados e Atualizados com Sucesso !"));
    EXPECT_EQ(sucesso->icone, 0);

    EXPECT_EQ(base.Valor(QStringLiteral("Select Nome from Usuarios Where Codigo=%1").arg(ana)), QStringLiteral("Ana D'Ávila"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select ifnull(Endereco,'NULO') from Usuarios Where Codigo=%1").arg(ana)), QStringLiteral("NULO"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select FoneRes from Usuarios Where Codigo=%1").arg(ana)), QStringLiteral(" "));
    EXPECT_EQ(base.Valor(QStringLiteral("Select FoneCel from Usuarios Where Codigo=%1").arg(ana)), QStringLiteral("(81)99999"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select Aniversario from Usuarios Where Codigo=%1").arg(ana)), QStringLiteral("2000-02-01"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select InicioGrade||'-'||FinalGrade||'-'||Intervalos||'-'||PosicaoAniversarios||'-'||SomCompromisso||'-'||VisualizarCompartilhamento from Configuracao Where Usuario=%1").arg(ana)),
              QStringLiteral("07:05-18:00-60-D-Sirene-N"));
    EXPECT_EQ(p.txtDadosNascimento->text(), QStringLiteral("01/02/2000"));
    EXPECT_EQ(Sessao.Nome, QStringLiteral("Ana D'Ávila"));
    EXPECT_EQ(Sessao.FoneRes, QStringLiteral(" "));
    EXPECT_EQ(Sessao.Aniversario, QDate(2000, 2, 1));
    EXPECT_EQ(Sessao.InicioGrade, QTime(7, 5));
    EXPECT_EQ(Sessao.Intervalos, 60);
    EXPECT_EQ(Sessao.SomCompromisso, QStringLiteral("Sirene"));
    EXPECT_FALSE(Sessao.VisualizarCompartilhamento);
    EXPECT_EQ(frmAgenda().lblIdentNome->text(), QStringLiteral("Ana D'Ávila"));
    EXPECT_TRUE(frmAgenda().frmInicial->isVisible());  // back to the user's last panel
    EXPECT_GE(som.paradas, 1);
}

TEST_F(Perfil, IntervalosDeUmASessentaSaoAceitos)
{
    PainelConfig &p = abrir(QStringLiteral("ANA"));
    for (const char *v : {"1", "60"}) {
        frmAgenda().cmdConfig->click();
        p.txtAgendaIntervalo->setText(QString::fromLatin1(v));
        auto vista = ResponderMensagem();
        p.cmdAgendaGravar->click();
        EXPECT_EQ(vista->texto, QStringLiteral("Dados Gravados e Atualizados com Sucesso !")) << v;
        EXPECT_EQ(Sessao.Intervalos, QString::fromLatin1(v).toInt());
    }
}

TEST_F(Perfil, Senhas)
{
    const auto senhaGuardada = [&](const QString &login) {
        return base.Valor(QStringLiteral("Select ifnull(Senha,'NULO') from Usuarios Where Login='%1'").arg(login));
    };
    // A user without a password sets one with no current-password check.
    PainelConfig &p = abrir(QStringLiteral("ANA"));
    p.txtSenhaNova->setText(QStringLiteral("z9"));
    p.txtSenhaReNova->setText(QStringLiteral("z9"));
    ResponderMensagem();
    p.cmdAgendaGravar->click();
    EXPECT_TRUE(HashDaSenha(senhaGuardada(QStringLiteral("ANA")), QStringLiteral("z9")));
    EXPECT_EQ(Sessao.SenhaGuardada, senhaGuardada(QStringLiteral("ANA")));
    EXPECT_EQ(Sessao.Senha, QString());
    frmAgenda().frmAgenda_cmdLogout_Click();

    // A user with one: the current password must match, to change it and to remove it.
    abrir(QStringLiteral("BIA"), QStringLiteral("abc"));
    EXPECT_TRUE(p.txtSenhaAtual->isEnabled());
    p.txtSenhaAtual->setText(QStringLiteral("abd"));
    p.txtSenhaNova->setText(QStringLiteral("n1"));
    p.txtSenhaReNova->setText(QStringLiteral("n1"));
    auto errada = ResponderMensagem();
    p.cmdAgendaGravar->click();
    EXPECT_EQ(errada->texto, QStringLiteral("Senha Atual não Confere!"));
    EXPECT_EQ(errada->icone, 3);
    EXPECT_EQ(frmAgenda().focusWidget(), p.txtSenhaNova);

    p.txtSenhaAtual->setText(QStringLiteral("abc"));
    ResponderMensagem();
    p.cmdAgendaGravar->click();
    EXPECT_TRUE(HashDaSenha(senhaGuardada(QStringLiteral("BIA")), QStringLiteral("n1")));

    frmAgenda().cmdConfig->click();
    p.txtSenhaAtual->setText(QStringLiteral("abc"));  // the old one no longer counts
    auto remocaoErrada = ResponderMensagem();
    p.cmdAgendaGravar->click();
    EXPECT_EQ(remocaoErrada->texto, QStringLiteral("Senha Atual não Confere!"));
    p.txtSenhaAtual->setText(QStringLiteral("n1"));
    ResponderMensagem();
    p.cmdAgendaGravar->click();
    EXPECT_EQ(senhaGuardada(QStringLiteral("BIA")), QStringLiteral("NULO"));
    EXPECT_EQ(Sessao.SenhaGuardada, QString());
}

TEST_F(Perfil, NovoUsuarioGravadoDePontaAPonta)
{
    FrmLogon &logon = frmLogon();
    ASSERT_TRUE(logon.frmLogon_Form_Load());
    logon.show();
    logon.txtLogin->setText(QStringLiteral("CAIO"));
    logon.txtPass->setText(QStringLiteral("s3"));
    logon.frmLogon_cmdNovoUsuario_Click();
    PainelConfig &p = *frmAgenda().frmConfig;
    EXPECT_EQ(p.txtSenhaNova->text(), QStringLiteral("s3"));
    EXPECT_FALSE(p.txtSenhaAtual->isEnabled());
    EXPECT_EQ(p.txtAgendaInicio->text(), QStringLiteral("08:00"));
    EXPECT_EQ(p.txtAgendaFim->text(), QStringLiteral("17:00"));
    EXPECT_EQ(p.txtAgendaIntervalo->text(), QStringLiteral("60"));
    EXPECT_EQ(p.txtAgendaTempoChecagem->text(), QStringLiteral("1"));
    EXPECT_TRUE(p.optAgendaNiverInicio->isChecked());
    EXPECT_EQ(p.cmbAgendaSom->currentText(), QStringLiteral("Cuco"));
    EXPECT_TRUE(p.chkAgendaVisCompartilhados->isChecked());

    p.txtDadosNome->setText(QStringLiteral("Caio Prado"));
    p.txtDadosEmail->setText(QStringLiteral("caio@exemplo.com.br"));
    auto diferentes = ResponderMensagem();
    p.cmdAgendaGravar->click();  // the password boxes must agree
    EXPECT_EQ(diferentes->texto, QStringLiteral("Nova Senha e Confirmação Diferentes !"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Usuarios")), QStringLiteral("2"));

    p.txtSenhaReNova->setText(QStringLiteral("s3"));
    ResponderMensagem();
    p.cmdAgendaGravar->click();
    const QString codigo = base.Valor(QStringLiteral("Select Codigo from Usuarios Where Login='CAIO'"));
    ASSERT_FALSE(codigo.isEmpty());
    EXPECT_EQ(Sessao.Codigo, codigo.toInt());
    EXPECT_EQ(QString::number(Sessao.ChaveConfiguracao), base.Valor(QStringLiteral("Select Chave from Configuracao Where Usuario=%1").arg(codigo)));
    EXPECT_TRUE(HashDaSenha(base.Valor(QStringLiteral("Select Senha from Usuarios Where Codigo=%1").arg(codigo)), QStringLiteral("s3")));
    EXPECT_EQ(Sessao.Senha, QString());  // the plain password is gone once the account is stored
    EXPECT_EQ(base.Valor(QStringLiteral("Select FoneRes||FoneCel||Aniversario||ifnull(Cidade,'NULO') from Usuarios Where Codigo=%1").arg(codigo)),
              QStringLiteral("  1900-01-01NULO"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select InicioGrade||FinalGrade||Intervalos||PosicaoAniversarios||SomCompromisso||ChecagemGeral||VisualizarCompartilhamento from Configuracao Where Usuario=%1").arg(codigo)),
              QStringLiteral("08:0017:0060ACuco1S"));
    EXPECT_FALSE(Sessao.NovoUsuario);
    EXPECT_TRUE(frmMenu().LogOut->isVisible());
    EXPECT_TRUE(frmAgenda().frmInicial->isVisible());
    EXPECT_EQ(frmAgenda().cmdLogout->toolTip(), QStringLiteral("Encerrar Sessão do Usuário [CAIO]"));

    // The new account signs on like any other.
    frmAgenda().frmAgenda_cmdLogout_Click();
    Entrar(QStringLiteral("CAIO"), QStringLiteral("s3"));
    EXPECT_EQ(Sessao.Codigo, codigo.toInt());
}

TEST_F(Perfil, CancelarNovoUsuarioNaoGuardaNada)
{
    FrmLogon &logon = frmLogon();
    ASSERT_TRUE(logon.frmLogon_Form_Load());
    logon.show();
    logon.txtLogin->setText(QStringLiteral("CAIO"));
    logon.frmLogon_cmdNovoUsuario_Click();
    frmAgenda().frmConfig->cmdAgendaCancelar->click();
    EXPECT_FALSE(frmAgenda().isVisible());
    EXPECT_TRUE(logon.isVisible());
    EXPECT_FALSE(frmMenu().LogOut->isVisible());
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Usuarios")), QStringLiteral("2"));
}

TEST_F(Perfil, FalhaNaCriacaoNaoDeixaUsuarioPelaMetade)
{
    usarTratadorDeErros();
    base.Executar(QStringLiteral("Create Trigger falha Before Insert On Configuracao Begin Select raise(ABORT, 'disco cheio'); End"));
    FrmLogon &logon = frmLogon();
    ASSERT_TRUE(logon.frmLogon_Form_Load());
    logon.show();
    logon.txtLogin->setText(QStringLiteral("CAIO"));
    logon.frmLogon_cmdNovoUsuario_Click();
    PainelConfig &p = *frmAgenda().frmConfig;
    p.txtDadosNome->setText(QStringLiteral("Caio"));
    p.txtDadosEmail->setText(QStringLiteral("caio@exemplo.com.br"));
    p.cmdAgendaGravar->click();
    ASSERT_EQ(erros.size(), 1);
    EXPECT_TRUE(erros.first().contains(QStringLiteral("disco cheio")));
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Usuarios Where Login='CAIO'")), QStringLiteral("0"));
    EXPECT_TRUE(Sessao.NovoUsuario);
    EXPECT_EQ(Sessao.Codigo, 0);
    EXPECT_TRUE(p.isVisible());
}

TEST_F(Perfil, ExcluirUsuario)
{
    for (const char *tabela : {"Notas(Usuario,Notas)", "Tarefas(Usuario,Descricao)", "Financas(Usuario,Descricao)",
                               "Enderecos(Usuario,Nome)", "Compromissos(Usuario,Compromisso)", "Saldos(Usuario,Ano)"})
        base.Executar(QStringLiteral("Insert into %1 values (%2,'1')").arg(QLatin1String(tabela)).arg(ana));
    const auto linhas = [&](const char *tabela) {
        return base.Valor(QStringLiteral("Select count(*) from %1 Where Usuario=%2").arg(QLatin1String(tabela)).arg(ana)).toInt();
    };
    PainelConfig &p = abrir(QStringLiteral("ANA"));

    ResponderMensagem(false);
    p.cmdExcluirUsuario->click();
    EXPECT_EQ(linhas("Notas"), 1);

    // A failure half-way undoes the deletions already made.
    usarTratadorDeErros();
    base.Executar(QStringLiteral("Create Trigger falha Before Delete On Usuarios Begin Select raise(ABORT, 'travado'); End"));
    auto pergunta = ResponderMensagem(true);
    p.cmdExcluirUsuario->click();
    EXPECT_EQ(pergunta->texto, QStringLiteral("Você Confirma Exclusão do Usuário?"));
    EXPECT_EQ(pergunta->icone, 1);
    EXPECT_EQ(erros.size(), 1);
    for (const char *t : {"Notas", "Tarefas", "Financas", "Enderecos", "Compromissos", "Configuracao"})
        EXPECT_EQ(linhas(t), 1) << t;
    EXPECT_TRUE(frmAgenda().isVisible());

    base.Executar(QStringLiteral("Drop Trigger falha"));
    ResponderMensagem(true);
    p.cmdExcluirUsuario->click();
    for (const char *t : {"Notas", "Tarefas", "Financas", "Enderecos", "Compromissos", "Configuracao"})
        EXPECT_EQ(linhas(t), 0) << t;
    EXPECT_EQ(linhas("Saldos"), 1);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Usuarios Where Codigo=%1").arg(ana)), QStringLiteral("0"));
    EXPECT_FALSE(frmAgenda().isVisible());
    EXPECT_TRUE(frmLogon().isVisible());

    auto naoExiste = ResponderMensagem();
    Entrar(QStringLiteral("ANA"));
    EXPECT_EQ(naoExiste->texto, QStringLiteral("Usuário não cadastrado !"));
}

TEST_F(Perfil, ExcluirPedeASenhaAtual)
{
    PainelConfig &p = abrir(QStringLiteral("BIA"), QStringLiteral("abc"));
    p.txtSenhaAtual->setText(QStringLiteral("x"));
    auto aviso = ResponderMensagem();
    p.cmdExcluirUsuario->click();
    EXPECT_EQ(aviso->texto, QStringLiteral("Senha Atual não Confere!"));
    EXPECT_EQ(frmAgenda().focusWidget(), p.txtSenhaAtual);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Usuarios Where Login='BIA'")), QStringLiteral("1"));
}

TEST_F(Perfil, OuvirTocaOSomEscolhido)
{
    PainelConfig &p = abrir(QStringLiteral("ANA"));
    p.cmbAgendaSom->setCurrentIndex(0);
    p.cmdAgendaOuvir->click();
    EXPECT_TRUE(som.tocados.isEmpty());
    p.cmbAgendaSom->setCurrentText(QStringLiteral("Telefone"));
    p.cmdAgendaOuvir->click();
    ASSERT_EQ(som.tocados.size(), 1);
    EXPECT_EQ(som.tocados.first(), recursos::Som(QStringLiteral("TELEFONE")));
    EXPECT_TRUE(som.tocados.first().startsWith("RIFF"));
    EXPECT_EQ(som.paradas, 2);  // each press stops what was playing first
}
