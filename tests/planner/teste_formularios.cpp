// Forms left open while something else happens: a logout, a reminder's answer or another planner
// changing the row, and messages that must never wait inside a transaction.

#include "apoio.h"
#include "appointments/frmLembrete.h"
#include "appointments/painel_compromissos.h"
#include "contacts/painel_enderecos.h"
#include "core/frmAgenda.h"
#include "core/modDb.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "finances/painel_financas.h"
#include "platform/bandeja.h"
#include "platform/modal.h"
#include "platform/relogio.h"
#include "platform/toolkit.h"
#include "tasks/painel_tarefas.h"

#include <QGroupBox>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct FormulariosAbertos : ::testing::Test {
    BaseDeTeste base;
    qint64 ana = 0, bia = 0;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        relogio::DefinirAgora(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
        ana = base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
        bia = base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
        base.Executar(QStringLiteral("Update Configuracao set InicioGrade='08:00', FinalGrade='12:00', Intervalos=30"));
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }
    // One row of each panel for the user: an appointment at 09:00, a contact, a ledger entry of
    // this month and a task.
    void linhasDe(qint64 u, const QString &texto)
    {
        base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
                                     "values (%1,'2026-12-09','09:00:00',NULL,'%2',0,'0','N')").arg(u).arg(texto));
        base.Executar(QStringLiteral("Insert into Enderecos(Usuario,Nome,Compartilhado,ChaveAniversario) values (%1,'%2','N',0)").arg(u).arg(texto));
        base.Executar(QStringLiteral("Insert into Financas(Usuario,Data,Descricao,Recebido,Pago,Efetuado) values (%1,'2026-12-05','%2',10,NULL,'N')")
                          .arg(u).arg(texto));
        base.Executar(QStringLiteral("Insert into Tarefas(Usuario,Data,DataFim,Descricao,Status,Prioridade) values (%1,'2026-12-01','2026-12-20','%2','0',1)")
                          .arg(u).arg(texto));
    }
    static int linhaDas9()
    {
        tk::Grade &g = *frmAgenda().frmCompromissos->grdCompromissos;
        for (int r = 1; r < g.Rows(); ++r)
            if (g.TextMatrix(r, 2).startsWith(QLatin1String("09:00")))
                return r;
        ADD_FAILURE() << "sem linha às 09:00";
        return 0;
    }
    // Opens the user's row in each of the four forms, the appointment's last.
    static void abrirTodos()
    {
        FrmAgenda &a = frmAgenda();
        a.frmAgenda_imgEnderecos_Click();
        a.frmEndereco->CarregarContatos(true, QString());
        a.frmEndereco->AbrirLinha(1);
        a.frmAgenda_imgFinancas_Click();
        a.frmFinancas->AbrirLinha(1);
        a.frmAgenda_imgTarefas_Click();
        a.frmTarefas->AbrirLinha(1);
        a.frmAgenda_imgCompromissos_Click();
        a.frmCompromissos->AbrirLinha(linhaDas9());
    }
};

} // namespace

TEST_F(FormulariosAbertos, SaidaFechaEEsvaziaCadaFormulario)
{
    linhasDe(ana, QStringLiteral("da Ana"));
    linhasDe(bia, QStringLiteral("da Bia"));
    Entrar(QStringLiteral("ANA"));
    abrirTodos();
    FrmAgenda &a = frmAgenda();
    ASSERT_TRUE(a.frmCompromissos->frmDadosCompromisso->isVisible());
    a.frmAgenda_cmdLogout_Click();

    Entrar(QStringLiteral("BIA"));
    const struct {
        const char *painel;
        QWidget *formulario;
        QString texto;
    } formularios[] = {
        {"compromisso", a.frmCompromissos->frmDadosCompromisso, a.frmCompromissos->txtDescricaoCompromisso->text()},
        {"contato", a.frmEndereco->frmDadosEndereco, a.frmEndereco->txtDadosEndNome->text()},
        {"lançamento", a.frmFinancas->frmFinancasDados, a.frmFinancas->txtFinancasDescricao->text()},
        {"tarefa", a.frmTarefas->frmTarefasDados, a.frmTarefas->txtTarefaDescricao->text()},
    };
    for (const auto &f : formularios) {
        EXPECT_TRUE(f.formulario->isHidden()) << f.painel;
        EXPECT_FALSE(f.texto.contains(QStringLiteral("Ana"))) << f.painel;
    }

    // Her own row opened, then a logout and a sign-on again: a delete pressed now names no row
    // and deletes none (a key of 0 once matched every head row).
    a.frmAgenda_imgCompromissos_Click();
    a.frmCompromissos->AbrirLinha(linhaDas9());
    a.frmAgenda_cmdLogout_Click();
    Entrar(QStringLiteral("BIA"));
    ResponderMensagem(true);
    a.frmCompromissos->frmAgenda_cmdCompromissoExcluir_Click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos Where Usuario = %1").arg(bia)), QStringLiteral("1"));
}

TEST_F(FormulariosAbertos, LinhaMudadaOuExcluidaDepoisDeAbertaNaoEGravadaPorCima)
{
    // Each form open on a row that a reminder, another window or another planner then changes
    // or deletes: the save writes nothing and says why, after its transaction has ended.
    FrmAgenda &a = frmAgenda();
    const struct {
        const char *painel;
        std::function<void()> abrir, editar, salvar;
        const char *tabela, *mudanca, *conferir, *depoisDaMudanca, *mensagem;
    } casos[] = {
        {"compromisso", [&] { a.frmAgenda_imgCompromissos_Click(); a.frmCompromissos->AbrirLinha(linhaDas9()); },
         [&] { a.frmCompromissos->txtDescricaoCompromisso->setText(QStringLiteral("editado")); },
         [&] { a.frmCompromissos->cmdCompromissoGravar->click(); }, "Compromissos", "Status = '1'", "Status||Compromisso", "1original",
         "Esse Compromisso foi Alterado depois de Aberto, nada foi Gravado! Abra-o Novamente."},
        {"contato", [&] { a.frmAgenda_imgEnderecos_Click(); a.frmEndereco->CarregarContatos(true, QString()); a.frmEndereco->AbrirLinha(1); },
         [&] { a.frmEndereco->txtDadosEndNome->setText(QStringLiteral("editado")); },
         [&] { a.frmEndereco->cmdEnderecoSalvar->click(); }, "Enderecos", "FoneCel = '9999'", "FoneCel||Nome", "9999original",
         "Esse Contato foi Alterado depois de Aberto, nada foi Gravado! Abra-o Novamente."},
        {"lançamento", [&] { a.frmAgenda_imgFinancas_Click(); a.frmFinancas->AbrirLinha(1); },
         [&] { a.frmFinancas->txtFinancasDescricao->setText(QStringLiteral("editado")); },
         [&] { a.frmFinancas->cmdFinancasSalvar->click(); }, "Financas", "Efetuado = 'S'", "Efetuado||Descricao", "Soriginal",
         "Esse Lançamento foi Alterado depois de Aberto, nada foi Gravado! Abra-o Novamente."},
        {"tarefa", [&] { a.frmAgenda_imgTarefas_Click(); a.frmTarefas->AbrirLinha(1); },
         [&] { a.frmTarefas->txtTarefaDescricao->setText(QStringLiteral("editado")); },
         [&] { a.frmTarefas->cmdTarefaSalvar->click(); }, "Tarefas", "Status = '1'", "Status||Descricao", "1original",
         "Essa Tarefa foi Alterada depois de Aberta, nada foi Gravado! Abra-a Novamente."},
    };
    const char *excluidos[] = {"Esse Compromisso não Existe Mais, foi Excluído!", "Esse Contato não Existe Mais, foi Excluído!",
                               "Esse Lançamento não Existe Mais, foi Excluído!", "Essa Tarefa não Existe Mais, foi Excluída!"};
    linhasDe(ana, QStringLiteral("original"));
    Entrar(QStringLiteral("ANA"));
    int i = 0;
    for (const auto &c : casos) {
        const QString tabela = QString::fromLatin1(c.tabela);
        c.abrir();
        base.Executar(QStringLiteral("Update %1 set %2").arg(tabela, QString::fromLatin1(c.mudanca)));
        c.editar();
        auto alterado = ResponderMensagem();
        c.salvar();
        EXPECT_EQ(alterado->texto, QString::fromUtf8(c.mensagem)) << c.painel;
        EXPECT_EQ(base.Valor(QStringLiteral("Select %1 from %2").arg(QString::fromLatin1(c.conferir), tabela)),
                  QString::fromLatin1(c.depoisDaMudanca))
            << c.painel;

        // Opened afresh, then deleted from outside: nothing comes back.
        c.abrir();
        base.Executar(QStringLiteral("Delete from %1").arg(tabela));
        c.editar();
        auto excluido = ResponderMensagem();
        c.salvar();
        EXPECT_EQ(excluido->texto, QString::fromUtf8(excluidos[i++])) << c.painel;
        EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from %1").arg(tabela)), QStringLiteral("0")) << c.painel;
    }
}

TEST_F(FormulariosAbertos, MensagemDepoisDaTransacaoDeixaOArquivoLivre)
{
    // The message about a row deleted meanwhile waits while another program writes to the file.
    linhasDe(ana, QStringLiteral("original"));
    Entrar(QStringLiteral("ANA"));
    FrmAgenda &a = frmAgenda();
    a.frmAgenda_imgCompromissos_Click();
    a.frmCompromissos->AbrirLinha(linhaDas9());
    base.Executar(QStringLiteral("Delete from Compromissos"));
    bool gravou = false;
    auto aviso = ResponderMensagem(true, [&] {
        base.Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (%1,'de outro programa')").arg(bia));
        gravou = true;
    });
    a.frmCompromissos->txtDescricaoCompromisso->setText(QStringLiteral("editado"));
    a.frmCompromissos->cmdCompromissoGravar->click();
    EXPECT_EQ(aviso->texto, QStringLiteral("Esse Compromisso não Existe Mais, foi Excluído!"));
    EXPECT_TRUE(gravou);

    // A reminder tick inside a transaction does nothing: no window, no answer undone with it.
    base.Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
                                 "values (%1,'2026-12-09','07:00:00',NULL,'vencido',0,'0','N')").arg(ana));
    Sessao.ChecagemIniciada = false;
    {
        Transacao t;
        frmAgenda().frmAgenda_tmrChecagem_Timer();
    }
    EXPECT_EQ(Sessao.CompromissoLembrete, 0);
}

TEST(ModalNaTransacao, QualquerJanelaOuLacoDeEventosEImpedido)
{
    // Showing a window or running events with a transaction open is a programming error the seam
    // refuses at once, whichever kind the transaction is.
    BaseDeTeste base;
    bandeja::DefinirDisponivel(true);
    const std::pair<const char *, std::function<void()>> dentro[] = {
        {"mensagem", [] { Mensagem(QStringLiteral("dentro"), 1, 2); }},
        {"eventos", [] { tk::ProcessarEventos(); }},
    };
    for (const Transacao::Modo modo : {Transacao::Escrita, Transacao::Leitura})
        for (const auto &[nome, acao] : dentro) {
            Transacao t(modo);
            EXPECT_THROW(acao(), std::logic_error) << nome << " " << modo;
        }
    EXPECT_FALSE(modal::Impedido());
    auto fora = ResponderMensagem();
    Mensagem(QStringLiteral("fora"), 1, 2);
    EXPECT_EQ(fora->texto, QStringLiteral("fora"));
}
