// The note: one row per user, saved trimmed of spaces, cleared with confirmation, forgotten at
// logout.

#include "apoio.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "platform/bandeja.h"
#include "platform/modal.h"
#include "tasks/modNotas.h"
#include "tasks/painel_notas.h"

#include <gtest/gtest.h>

namespace {

struct Notas : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, outro = 0;
    void SetUp() override
    {
        bandeja::DefinirDisponivel(true);
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("OUTRO"), std::nullopt);
    }
    void TearDown() override { EXPECT_EQ(modal::RoteirosPendentes(), 0); }
    PainelNotas &abrir(const QString &login = QStringLiteral("EU"))
    {
        Entrar(login);
        frmAgenda().frmAgenda_imgNotas_Click();
        return *frmAgenda().frmNotas;
    }
    // The user's note rows as "chave:texto" ("NULL" for a cleared one), by key.
    QString linhas(qint64 usuario = 0)
    {
        return base.Valor(QStringLiteral("Select group_concat(Chave||':'||ifnull(Notas,'NULL'), ' | ') from (Select * from Notas Where Usuario=%1 Order By Chave)")
                              .arg(usuario ? usuario : eu));
    }
};

} // namespace

TEST_F(Notas, UmaLinhaPorUsuarioGuardadaComoDigitada)
{
    base.Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (%1,'do outro')").arg(outro));
    PainelNotas &p = abrir();
    EXPECT_EQ(frmAgenda().focusWidget(), p.txtNotas);
    EXPECT_FALSE(frmAgenda().imgImpressora->isVisible());
    p.cmdNotasSalvar->click();  // empty, and never saved: nothing is written
    EXPECT_EQ(linhas(), QString());

    // Spaces at the ends go; line breaks (stored as CR LF), tabs, quotes and accents stay as typed.
    const struct {
        QString digitado, gravado;
    } casos[] = {
        {QStringLiteral("  Comprar pão  "), QStringLiteral("Comprar pão")},
        {QStringLiteral("\n O'Brien: 100% \"sim\"\t\n "), QStringLiteral("\r\n O'Brien: 100% \"sim\"\t\r\n")},
        {QStringLiteral("   "), QStringLiteral("NULL")},
        {QStringLiteral("de novo"), QStringLiteral("de novo")},
    };
    QString chave;
    for (const auto &c : casos) {
        p.txtNotas->setText(c.digitado);
        p.cmdNotasSalvar->click();
        if (chave.isEmpty())
            chave = QString::number(Sessao.ChaveNota);
        EXPECT_EQ(linhas(), chave + u':' + c.gravado);
    }
    EXPECT_EQ(base.Valor(QStringLiteral("Select max(Chave) from Notas")), chave);
    EXPECT_EQ(linhas(outro), QStringLiteral("1:do outro"));
}

TEST_F(Notas, CarregarLimparEGravarDeNovoNaMesmaLinha)
{
    base.Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (%1,'Linha 1\r\nLinha 2')").arg(eu));
    const QString chave = base.Valor(QStringLiteral("Select Chave from Notas"));
    PainelNotas &p = abrir();
    EXPECT_EQ(p.txtNotas->text(), QStringLiteral("Linha 1\r\nLinha 2"));
    EXPECT_EQ(QString::number(Sessao.ChaveNota), chave);

    auto nao = ResponderMensagem(false);
    p.cmdNotasLimpar->click();
    EXPECT_EQ(nao->texto, QStringLiteral("Você Confirma Limpeza das Anotações?"));
    EXPECT_EQ(nao->icone, 1);
    EXPECT_EQ(nao->botoes, 0);
    EXPECT_EQ(p.txtNotas->text(), QStringLiteral("Linha 1\r\nLinha 2"));
    ResponderMensagem(true);
    p.cmdNotasLimpar->click();
    EXPECT_EQ(p.txtNotas->text(), QString());
    EXPECT_EQ(linhas(), chave + QStringLiteral(":NULL"));

    // A cleared note leaves the box as it is when the panel opens again.
    p.txtNotas->setText(QStringLiteral("rascunho"));
    frmAgenda().frmAgenda_imgTarefas_Click();
    frmAgenda().frmAgenda_imgNotas_Click();
    EXPECT_EQ(p.txtNotas->text(), QStringLiteral("rascunho"));
    p.cmdNotasSalvar->click();
    EXPECT_EQ(linhas(), chave + QStringLiteral(":rascunho"));
}

TEST_F(Notas, ChaveDesconhecidaOuLinhaSumidaMantemUmaLinha)
{
    abrir();
    // Saved meanwhile by another copy of the planner: the known row is updated.
    base.Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (%1,'da outra cópia')").arg(eu));
    GravarNota(Sessao.ChaveNota, QStringLiteral("desta"));
    const QString chave = base.Valor(QStringLiteral("Select Chave from Notas"));
    EXPECT_EQ(linhas(), chave + QStringLiteral(":desta"));
    // Its row gone meanwhile: a new one takes the text, and its key is remembered.
    base.Executar(QStringLiteral("Delete from Notas"));
    GravarNota(Sessao.ChaveNota, QStringLiteral("outra vez"));
    EXPECT_EQ(linhas(), QString::number(Sessao.ChaveNota) + QStringLiteral(":outra vez"));
    EXPECT_NE(QString::number(Sessao.ChaveNota), chave);
}

TEST_F(Notas, ErroDoBancoMantemOTexto)
{
    QStringList erros;
    tk::DefinirTratadorErro([&](const QString &e) { erros << e; });
    PainelNotas &p = abrir();
    base.Executar(QStringLiteral("Create Trigger falha Before Insert On Notas Begin Select raise(ABORT, 'disco cheio'); End"));
    p.txtNotas->setText(QStringLiteral("importante"));
    p.cmdNotasSalvar->click();
    EXPECT_EQ(erros.size(), 1);
    EXPECT_EQ(p.txtNotas->text(), QStringLiteral("importante"));
    EXPECT_EQ(Sessao.ChaveNota, 0);
    EXPECT_EQ(linhas(), QString());
}

TEST_F(Notas, OutroUsuarioNaoVeNemGravaANotaDoPrimeiro)
{
    base.Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (%1,'Segredo')").arg(eu));
    PainelNotas &p = abrir();
    p.txtNotas->setText(QStringLiteral("Segredo e mais"));
    frmAgenda().frmAgenda_cmdLogout_Click();
    EXPECT_EQ(p.txtNotas->text(), QString());
    EXPECT_EQ(Sessao.ChaveNota, 0);

    abrir(QStringLiteral("OUTRO"));
    EXPECT_EQ(p.txtNotas->text(), QString());
    p.cmdNotasSalvar->click();
    EXPECT_EQ(linhas(outro), QString());
    EXPECT_EQ(linhas(), base.Valor(QStringLiteral("Select Chave from Notas")) + QStringLiteral(":Segredo"));
}

TEST_F(Notas, QuebrasVoltamComoForamGuardadas)
{
    // Line breaks are stored as CR LF, so a long note saved again keeps every character.
    QString nota;
    for (int i = 0; i < 40000; ++i)
        nota += QStringLiteral("linha\r\n");
    nota += QStringLiteral("fim");
    base.Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (%1,'%2')").arg(eu).arg(nota));
    PainelNotas &p = abrir();
    p.cmdNotasSalvar->click();
    EXPECT_EQ(base.Valor(QStringLiteral("Select length(Notas) from Notas")), QString::number(nota.size()));
    EXPECT_EQ(base.Valor(QStringLiteral("Select Notas from Notas")), nota);
}
