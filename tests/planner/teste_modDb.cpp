// The planner's two database operations over a real file.

#include "apoio.h"
#include "core/modDb.h"
#include "esquema.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <latch>
#include <thread>
#include <vector>

TEST(ModDb, ConsultaSemResultadoEstaNoFim)
{
    BaseDeTeste base;
    RecordSet rs = Consultar(QStringLiteral("Select * from usuarios Where Login = 'NINGUEM'"));
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.RecordCount(), 0);
}

TEST(ModDb, ExecutarDevolveLinhasAfetadas)
{
    BaseDeTeste base;
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    base.InserirUsuario(QStringLiteral("BIA"), std::nullopt);
    EXPECT_EQ(Executar(QStringLiteral("Update Usuarios set Pastinha = 'Notas' Where Login = 'CAIO'")), 0);
    EXPECT_EQ(Executar(QStringLiteral("Update Usuarios set Pastinha = 'Notas'")), 2);
}

TEST(ModDb, CamposPorNomeENulos)
{
    BaseDeTeste base;
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt, QStringLiteral("Ana"));
    RecordSet rs = Consultar(QStringLiteral("Select * from Usuarios"));
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs(QStringLiteral("nome")).Texto(), QStringLiteral("Ana"));  // names ignore case
    EXPECT_TRUE(rs(QStringLiteral("Senha")).IsNull());
    EXPECT_TRUE(rs(QStringLiteral("Cidade")).Texto().isEmpty());
    EXPECT_THROW(rs(QStringLiteral("NaoExiste")), ErroBanco);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs(QStringLiteral("Nome")), ErroBanco);
    rs.Close();
    EXPECT_TRUE(rs.Eof());
}

TEST(ModDb, ChavesAlemDe32767EnderecamASuaPropriaLinha)
{
    BaseDeTeste base;
    // 40000 would wrap to 7232 in a 16-bit key; both rows exist.
    base.Executar(QStringLiteral("Insert into Usuarios (Codigo,Login,Nome) values (7232,'CURTO','Curto')"));
    base.Executar(QStringLiteral("Insert into Usuarios (Codigo,Login,Nome) values (40000,'LONGO','Longo')"));
    RecordSet rs = Consultar(QStringLiteral("Select * from Usuarios Where Login = 'LONGO'"));
    const int codigo = int(rs(QStringLiteral("Codigo")).Inteiro());
    EXPECT_EQ(codigo, 40000);
    EXPECT_EQ(Executar(QStringLiteral("Update Usuarios set Nome = 'Mudou' Where Codigo = %1").arg(codigo)), 1);
    EXPECT_EQ(base.Valor(QStringLiteral("Select Nome from Usuarios Where Codigo = 7232")), QStringLiteral("Curto"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select Nome from Usuarios Where Codigo = 40000")), QStringLiteral("Mudou"));
}

TEST(ModDb, TextoColadoEGuardadoComoDigitado)
{
    BaseDeTeste base;
    const char *textos[] = {"D'Ávila", "aspas \"duplas\"", "100% certo; ou não", "'); Delete from Usuarios; --",
                            "ação çÇ ü €", "''", "fim'"};
    for (const char *t : textos) {
        const QString texto = QString::fromUtf8(t);
        Executar(QStringLiteral("Delete from Notas"));
        Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (1,'") + SqlTexto(texto) + QStringLiteral("')"));
        EXPECT_EQ(Consultar(QStringLiteral("Select * from Notas")).operator()(QStringLiteral("Notas")).Texto(), texto) << t;
        RecordSet achado = Consultar(QStringLiteral("Select * from Notas Where Notas like '%") + SqlTexto(texto) + QStringLiteral("%'"));
        EXPECT_EQ(achado.RecordCount(), 1) << t;
    }
}

TEST(ModDb, TransacaoDesfeitaSemConfirmacao)
{
    BaseDeTeste base;
    try {
        Transacao t;
        Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (1,'primeira')"));
        EXPECT_EQ(Consultar(QStringLiteral("Select * from Notas")).RecordCount(), 1);  // seen inside
        Executar(QStringLiteral("Insert into TabelaQueNaoExiste values (1)"));
        t.Confirmar();
    } catch (const ErroBanco &) {
    }
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Notas")), QStringLiteral("0"));

    {
        Transacao t;
        Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (1,'segunda')"));
        t.Confirmar();
    }
    EXPECT_EQ(base.Valor(QStringLiteral("Select Notas from Notas")), QStringLiteral("segunda"));
}

TEST(ModDb, ArquivoTravadoPorOutroProcessoExcedeEspera)
{
    BaseDeTeste base;
    {
        TravaDeOutroPrograma outro(base);
        EXPECT_THROW(Consultar(QStringLiteral("Select * from Usuarios")), motor_sql::BancoOcupado);
        EXPECT_THROW(Executar(QStringLiteral("Delete from Notas")), motor_sql::BancoOcupado);
    }
    EXPECT_NO_THROW(Consultar(QStringLiteral("Select * from Usuarios")));
}

TEST(ModDb, ArquivoAusenteNaoECriado)
{
    QTemporaryDir vazia;
    modDb::DefinirPastaDados(vazia.path());
    EXPECT_THROW(Consultar(QStringLiteral("Select * from usuarios")), ErroBanco);
    EXPECT_FALSE(QFile::exists(vazia.filePath(QStringLiteral("dadosu.lst"))));
}

TEST(Esquema, BaseVaziaTemTodasAsTabelas)
{
    BaseDeTeste base;
    if (base.uri.isEmpty()) {
        EXPECT_EQ(base.Valor(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
    }
    for (const char *t : {"Usuarios", "Configuracao", "Compromissos", "Enderecos", "Financas", "Saldos", "Tarefas", "Notas"})
        EXPECT_NO_THROW(Consultar(QStringLiteral("Select * from ") + QString::fromUtf8(t))) << t;
    // Months not given take 0; keys are numbered by the database.
    Executar(QStringLiteral("Insert into Saldos(Usuario,M3,Ano) values (1,12.5,2026)"));
    RecordSet saldos = Consultar(QStringLiteral("Select * from Saldos"));
    for (int m = 1; m <= 12; ++m)
        EXPECT_DOUBLE_EQ(saldos(QStringLiteral("M%1").arg(m)).Numero(), m == 3 ? 12.5 : 0.0);
    Executar(QStringLiteral("Insert into Tarefas(Usuario,Descricao) values (1,'a')"));
    Executar(QStringLiteral("Insert into Tarefas(Usuario,Descricao) values (1,'b')"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select max(Chave) from Tarefas")), QStringLiteral("2"));
    EXPECT_FALSE(CriarBaseVazia(base.Banco()).isEmpty());  // never overwrites
    EXPECT_TRUE(BaseExiste(base.Banco()));
}

TEST(Esquema, CriacoesSimultaneasNuncaApagamOArquivoDaOutra)
{
    // Runs racing to make the same file: exactly one makes it, and nobody removes it.
    constexpr int corredores = 4;
    for (int rodada = 0; rodada < 30; ++rodada) {
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("dadosu.lst"));
        std::array<QString, corredores> erros;
        std::latch largada(corredores);
        std::vector<std::thread> corridas;
        for (int i = 0; i < corredores; ++i)
            corridas.emplace_back([&, i] {
                largada.arrive_and_wait();
                erros[i] = CriarBaseVazia(arquivo);
            });
        for (std::thread &t : corridas)
            t.join();
        EXPECT_EQ(std::count_if(erros.begin(), erros.end(), [](const QString &e) { return e.isEmpty(); }), 1) << rodada;
        modDb::DefinirPastaDados(pasta.path());
        EXPECT_NO_THROW(Consultar(QStringLiteral("Select * from Notas"))) << rodada;
    }
}
