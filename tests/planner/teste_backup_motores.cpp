// A backup moves between the engines: made on PostgreSQL it restores into an SQLite file, and the
// other way round, with every row and the key counters; a damaged one leaves PostgreSQL as it was.
// Runs only with the tests' PostgreSQL server.

#include "apoio.h"
#include "backup/modBackup.h"
#include "core/modDb.h"
#include "esquema.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every row of the planner's tables as the planner reads them, in one order whatever the engine.
QString conteudo()
{
    QStringList tabelas;
    for (const QString &tabela : TabelasDoPlanejador) {
        QStringList linhas;
        for (RecordSet rs = Consultar(QStringLiteral("Select * from ") + tabela); !rs.Eof(); rs.MoveNext()) {
            QStringList campos;
            for (int c = 0; c < rs.Campos(); ++c)
                campos << (rs.Indice(c).IsNull() ? QStringLiteral("NULL") : rs.Indice(c).Texto());
            linhas << campos.join(u'|');
        }
        std::sort(linhas.begin(), linhas.end());
        tabelas << tabela + QStringLiteral(": ") + linhas.join(QStringLiteral(" ; "));
    }
    return tabelas.join(u'\n');
}

} // namespace

TEST(BackupEntreMotores, IdaEVoltaComChavesEContadores)
{
    ASSERT_FALSE(ServidorDeTeste().isEmpty()) << "sem o servidor PostgreSQL dos testes";
    BaseDeTeste postgres;
    const qint64 ana = postgres.InserirUsuario(QStringLiteral("ANA"), QStringLiteral("\u00C2\u00C4"));
    postgres.InserirUsuario(QStringLiteral("BIA"), std::nullopt, QStringLiteral("Bia D'Ávila"));
    Executar(QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
                            "values (%1,cdate('08/12/2026'),cdate('09:00'),cdate('10:00'),'Reunião',0,'0','S')").arg(ana));
    Executar(QStringLiteral("Insert into Financas(Usuario,Data,Descricao,Recebido,Pago,Efetuado) values (%1,cdate('01/12/2026'),'salário',1234.56,NULL,'S')").arg(ana));
    Executar(QStringLiteral("Insert into Saldos(Usuario,M3,Ano) values (%1,-0.05,2026)").arg(ana));
    // Tabs, line breaks and backslashes travel as typed.
    Executar(QStringLiteral("Insert into Notas(Usuario,Notas) values (%1,'a\tb\r\nc \\ d ''e'' €')").arg(ana));
    const qint64 apagada = ExecutarInsercao(QStringLiteral("Insert into Tarefas(Usuario,Data,DataFim,Descricao,Status,Prioridade) "
                                                           "values (%1,cdate('01/12/2026'),cdate('02/12/2026'),'x','0',1)").arg(ana));
    Executar(QStringLiteral("Delete from Tarefas"));
    const QString dePostgres = conteudo();

    QTemporaryDir midia;
    const QString backup = midia.filePath(ArquivoBackup);
    ASSERT_EQ(FazerBackup(backup), 0);

    // Into a planner on a file.
    QTemporaryDir pasta;
    ASSERT_EQ(CriarBaseVazia(pasta.filePath(QStringLiteral("dadosu.lst"))), QString());
    modDb::DefinirBanco(QString());
    modDb::DefinirPastaDados(pasta.path());
    ASSERT_EQ(RestaurarBackup(backup), 0);
    EXPECT_EQ(conteudo(), dePostgres);
    // A key once given is not given again, though its row is gone.
    EXPECT_EQ(ExecutarInsercao(QStringLiteral("Insert into Tarefas(Usuario,Descricao) values (1,'y')")), apagada + 1);

    // And back: the file's backup replaces everything on PostgreSQL.
    Executar(QStringLiteral("Update Compromissos set Compromisso = 'Mudou no arquivo'"));
    const QString doArquivo = conteudo();
    ASSERT_EQ(FazerBackup(backup), 0);
    modDb::DefinirBanco(postgres.uri);
    ASSERT_EQ(RestaurarBackup(backup), 0);
    EXPECT_EQ(conteudo(), doArquivo);
    EXPECT_EQ(ExecutarInsercao(QStringLiteral("Insert into Tarefas(Usuario,Descricao) values (1,'z')")), apagada + 2);
    Executar(QStringLiteral("Delete from Tarefas Where Descricao = 'z'"));

    // A damaged backup, or a file that is no planner database, changes nothing.
    QFile f(backup);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() - 3);
    f.close();
    EXPECT_EQ(RestaurarBackup(backup), -1);
    EXPECT_EQ(conteudo(), doArquivo);
}

// A restore never hands out a key again that the database gave before it, whether it brings back
// an older backup or fails half-way (a table whose rows PostgreSQL refuses): another planner may
// still hold such a key, and a row given it would be edited or deleted in its place.
TEST(BackupEntreMotores, RestauracaoNuncaDevolveChavesJaDadas)
{
    ASSERT_FALSE(ServidorDeTeste().isEmpty()) << "sem o servidor PostgreSQL dos testes";
    BaseDeTeste postgres;
    postgres.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    QTemporaryDir midia;
    const QString antigo = midia.filePath(ArquivoBackup), recusado = midia.filePath(QStringLiteral("recusado"));
    ASSERT_EQ(FazerBackup(antigo), 0);

    // The same backup with a task whose priority is no number, which SQLite keeps as text.
    qint32 erro = 0;
    const QString arquivo = midia.filePath(QStringLiteral("dadosu.lst"));
    ASSERT_TRUE(DescompactarArquivo(antigo, arquivo, erro, true));
    ASSERT_EQ(ValorEm(arquivo, QStringLiteral("Insert into Tarefas (Usuario, Descricao, Prioridade) values (1, 'x', 'alta') "
                                              "Returning Chave")), QStringLiteral("1"));
    ASSERT_TRUE(CompactarArquivo(arquivo, recusado, 9, erro, true));

    const struct {
        QString backup;
        bool restaura;
    } casos[] = {{recusado, false}, {antigo, true}};
    for (const auto &c : casos) {
        const qint64 ultima = postgres.InserirUsuario(QStringLiteral("U%1").arg(c.restaura), std::nullopt);
        const QString antes = conteudo();
        EXPECT_EQ(RestaurarBackup(c.backup) == 0, c.restaura) << c.backup.toStdString();
        if (!c.restaura) {
            EXPECT_EQ(conteudo(), antes);
        }
        EXPECT_GT(postgres.InserirUsuario(QStringLiteral("DEPOIS%1").arg(c.restaura), std::nullopt), ultima) << c.backup.toStdString();
    }
}
